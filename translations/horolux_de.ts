<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>DBusNotifier</name>
    <message>
        <source>Dismiss</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Öffnen</translation>
    </message>
    <message>
        <source>Snooze 10 min</source>
        <translation>10 Min. später</translation>
    </message>
</context>
<context>
    <name>DialogButtons</name>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
</context>
<context>
    <name>EditorRules</name>
    <message>
        <source>The %1 field contains a comma. A scheduled program cannot be stored with a comma in its program, parameters or start directory; please remove it.</source>
        <translation>Das Feld „%1“ enthält ein Komma. Ein geplantes Programm kann nicht mit einem Komma in Programm, Parametern oder Startordner gespeichert werden; bitte entfernen Sie es.</translation>
    </message>
    <message>
        <source>Program</source>
        <translation>Programm</translation>
    </message>
    <message>
        <source>Parameters</source>
        <translation>Parameter</translation>
    </message>
    <message>
        <source>Start Dir</source>
        <translation>Startordner</translation>
    </message>
    <message>
        <source>The Parameters field has a quote (%1) that is not closed, so the program could never be started. Put a backslash before a quote that belongs to a word (O\%1Brien), or enclose the word in the other kind of quotes (%2O%1Brien%2).</source>
        <translation>Das Feld „Parameter“ enthält ein Anführungszeichen (%1), das nicht geschlossen wird; das Programm könnte so nie gestartet werden. Setzen Sie einen Backslash vor ein Anführungszeichen, das zu einem Wort gehört (O\%1Brien), oder schließen Sie das Wort in die andere Art von Anführungszeichen ein (%2O%1Brien%2).</translation>
    </message>
    <message>
        <source>The Parameters field has a backslash before a letter or digit (%1), which would not reach the program. Write \\ for a backslash, or enclose the word in single quotes (&apos;C:\Temp\new&apos;).</source>
        <translation>Das Feld „Parameter“ enthält einen Backslash vor einem Buchstaben oder einer Ziffer (%1), der das Programm nicht erreichen würde. Schreiben Sie \\ für einen Backslash, oder schließen Sie das Wort in einfache Anführungszeichen ein (&apos;C:\Temp\new&apos;).</translation>
    </message>
</context>
<context>
    <name>GridTexts</name>
    <message>
        <source>Time</source>
        <translation>Zeit</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Datum</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>Art</translation>
    </message>
    <message>
        <source>Detail</source>
        <translation>Details</translation>
    </message>
    <message>
        <source>One-shot</source>
        <translation>Einmalig</translation>
    </message>
    <message>
        <source>Daily</source>
        <translation>Täglich</translation>
    </message>
    <message>
        <source>Weekly</source>
        <translation>Wöchentl.</translation>
    </message>
    <message>
        <source>Each %1</source>
        <extracomment>The type of an item due on one weekday; %1 is the abbreviated day name (&quot;Mon&quot;).</extracomment>
        <translation>Jeden %1</translation>
    </message>
    <message>
        <source>Unknown</source>
        <translation>Unbekannt</translation>
    </message>
    <message>
        <source>Reminder:</source>
        <translation>Erinnerung: </translation>
    </message>
    <message>
        <source>Run:</source>
        <translation>Ausführen: </translation>
    </message>
</context>
<context>
    <name>HelpWindow</name>
    <message>
        <source>Horolux Help</source>
        <translation>Horolux-Hilfe</translation>
    </message>
    <message>
        <source>&lt; &amp;Back</source>
        <translation>&lt; &amp;Zurück</translation>
    </message>
    <message>
        <source>&amp;Forward &gt;</source>
        <translation>&amp;Vor &gt;</translation>
    </message>
    <message>
        <source>&amp;Contents</source>
        <translation>&amp;Inhalt</translation>
    </message>
    <message>
        <source>Search topics</source>
        <translation>Themen durchsuchen</translation>
    </message>
    <message>
        <source>Topics</source>
        <translation>Themen</translation>
    </message>
    <message>
        <source>Help page</source>
        <translation>Hilfeseite</translation>
    </message>
</context>
<context>
    <name>HoroluxApplication</name>
    <message>
        <source>Unexpected error</source>
        <translation>Unerwarteter Fehler</translation>
    </message>
</context>
<context>
    <name>OptionsRules</name>
    <message>
        <source>Priority not changed: not permitted</source>
        <translation>Priorität nicht geändert: nicht erlaubt</translation>
    </message>
    <message>
        <source>Priority not changed</source>
        <translation>Priorität nicht geändert</translation>
    </message>
    <message>
        <source>Synchronised by the system (NTP).</source>
        <translation>Vom System synchronisiert (NTP).</translation>
    </message>
    <message>
        <source>The system is synchronising (NTP).</source>
        <translation>System synchronisiert gerade (NTP).</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>Aus</translation>
    </message>
    <message>
        <source>Indefinite</source>
        <translation>Endlos</translation>
    </message>
    <message>
        <source>Task Bar icon enabled because hide period was set to indefinite. (See online help for explanation.)</source>
        <translation>Das Symbol im Infobereich wurde eingeschaltet, weil die Ausblenddauer auf „Endlos“ gesetzt wurde. (Näheres in der Hilfe.)</translation>
    </message>
    <message numerus="yes">
        <source>%n secs</source>
        <translation>
            <numerusform>%n Sek.</numerusform>
            <numerusform>%n Sek.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>PanelController</name>
    <message>
        <source>Schedule unreadable, not saved</source>
        <translation>Zeitplan unlesbar, nicht gespeichert</translation>
    </message>
    <message>
        <source>Schedule file could not be read</source>
        <translation>Zeitplandatei konnte nicht gelesen werden</translation>
    </message>
    <message>
        <source>Settings file not understood</source>
        <translation>Einstellungsdatei nicht erkannt</translation>
    </message>
    <message>
        <source>Cannot create file %1</source>
        <translation>Datei %1 kann nicht angelegt werden</translation>
    </message>
    <message>
        <source>No system tray: icon not shown</source>
        <translation>Kein Infobereich: Symbol nicht angezeigt</translation>
    </message>
    <message>
        <source>Could not connect to Web site</source>
        <translation>Verbindung zur Website fehlgeschlagen</translation>
    </message>
    <message>
        <source>You do not have the privilege needed to set the system time</source>
        <translation>Sie haben nicht die nötige Berechtigung, um die Systemzeit zu stellen</translation>
    </message>
</context>
<context>
    <name>PanelMenu</name>
    <message>
        <source>&amp;Settings</source>
        <translation>&amp;Einstellungen</translation>
    </message>
    <message>
        <source>Sc&amp;heduler</source>
        <translation>&amp;Zeitplaner</translation>
    </message>
    <message>
        <source>&amp;Quick Reminder</source>
        <translation>&amp;Schnellerinnerung</translation>
    </message>
    <message>
        <source>Performance &amp;Report</source>
        <translation>&amp;Leistungsbericht</translation>
    </message>
    <message>
        <source>Stay On &amp;Top</source>
        <translation>Immer im &amp;Vordergrund</translation>
    </message>
    <message>
        <source>Automatic Time &amp;Update</source>
        <translation>Zeit &amp;automatisch aktualisieren</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>Connect to %1</source>
        <translation>%1 besuchen</translation>
    </message>
    <message>
        <source>&amp;About Horolux</source>
        <translation>&amp;Über Horolux</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Beenden</translation>
    </message>
</context>
<context>
    <name>ReminderNotices</name>
    <message>
        <source>Reminder</source>
        <translation>Erinnerung</translation>
    </message>
</context>
<context>
    <name>ScheduleList</name>
    <message>
        <source>1 schedule line set aside</source>
        <translation>1 Zeile des Zeitplans beiseitegelegt</translation>
    </message>
    <message>
        <source>%1 schedule lines set aside</source>
        <translation>%1 Zeilen des Zeitplans beiseitegelegt</translation>
    </message>
</context>
<context>
    <name>ScheduleModel</name>
    <message>
        <source>No items</source>
        <translation>Keine Einträge</translation>
    </message>
</context>
<context>
    <name>ScheduleScanner</name>
    <message>
        <source>Scheduler item %1 failed.</source>
        <translation>Zeitplaner-Eintrag %1 ist fehlgeschlagen.</translation>
    </message>
</context>
<context>
    <name>Startup</name>
    <message>
        <source>Good morning %1</source>
        <translation>Guten Morgen, %1</translation>
    </message>
    <message>
        <source>Good afternoon %1</source>
        <translation>Guten Tag, %1</translation>
    </message>
    <message>
        <source>Good evening %1</source>
        <translation>Guten Abend, %1</translation>
    </message>
</context>
<context>
    <name>TAbtFrm</name>
    <message>
        <source>About Horolux</source>
        <translation>Über Horolux</translation>
    </message>
    <message>
        <source>A desktop clock with reminders</source>
        <translation>Desktop-Uhr mit Erinnerungen</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Horolux, version %1</source>
        <translation>Horolux, Version %1</translation>
    </message>
    <message>
        <source>Horolux version %1</source>
        <translation>Horolux Version %1</translation>
    </message>
</context>
<context>
    <name>TAlarmFrm</name>
    <message>
        <source>Reminder</source>
        <translation>Erinnerung</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Reminder text</source>
        <translation>Erinnerungstext</translation>
    </message>
    <message>
        <source>Snooze</source>
        <translation>Später</translation>
    </message>
    <message>
        <source>5 minutes</source>
        <translation>5 Minuten</translation>
    </message>
    <message>
        <source>10 minutes</source>
        <translation>10 Minuten</translation>
    </message>
    <message>
        <source>30 minutes</source>
        <translation>30 Minuten</translation>
    </message>
    <message>
        <source>1 hour</source>
        <translation>1 Stunde</translation>
    </message>
    <message>
        <source>Tomorrow at this time</source>
        <translation>Morgen um diese Zeit</translation>
    </message>
    <message>
        <source>Snooze: %1</source>
        <translation>Später erinnern: %1</translation>
    </message>
</context>
<context>
    <name>TAutoFrm</name>
    <message>
        <source>Automatic Time Update</source>
        <translation>Automatische Zeitaktualisierung</translation>
    </message>
    <message>
        <source>Window title:</source>
        <translation>Fenstertitel:</translation>
    </message>
    <message>
        <source>Time server:</source>
        <translation>Zeitserver:</translation>
    </message>
    <message>
        <source>Time server</source>
        <translation>Zeitserver</translation>
    </message>
    <message>
        <source>Time servers</source>
        <translation>Zeitserver</translation>
    </message>
</context>
<context>
    <name>THoroluxMain</name>
    <message>
        <source>Time</source>
        <translation>Uhrzeit</translation>
    </message>
    <message>
        <source>Disk</source>
        <translation>Datenträger</translation>
    </message>
    <message>
        <source>Processor</source>
        <translation>Prozessor</translation>
    </message>
    <message>
        <source>Memory</source>
        <translation>Arbeitsspeicher</translation>
    </message>
    <message>
        <source>Paging</source>
        <translation>Auslagerung</translation>
    </message>
    <message>
        <source>Date and status</source>
        <translation>Datum und Status</translation>
    </message>
    <message>
        <source>Right-click clock face for menu</source>
        <translation>Rechtsklick auf die Uhr: Menü</translation>
    </message>
</context>
<context>
    <name>TOptionsFrm</name>
    <message>
        <source>Off</source>
        <translation>Aus</translation>
    </message>
    <message>
        <source>Beep</source>
        <translation>Signalton</translation>
    </message>
    <message>
        <source>Play sound:</source>
        <translation>Klangdatei:</translation>
    </message>
    <message>
        <source>Browse...</source>
        <translation>Wählen...</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>Display</source>
        <translation>Anzeige</translation>
    </message>
    <message>
        <source>Display Format</source>
        <translation>Anzeigeformat</translation>
    </message>
    <message>
        <source>12 Hour</source>
        <translation>12 Std.</translation>
    </message>
    <message>
        <source>24 Hour</source>
        <translation>24 Std.</translation>
    </message>
    <message>
        <source>Hide Period</source>
        <translation>Ausblenddauer</translation>
    </message>
    <message>
        <source>Monitors</source>
        <translation>Leistung</translation>
    </message>
    <message>
        <source>Update Interval</source>
        <translation>Aktualisierungsintervall</translation>
    </message>
    <message>
        <source>Disk Monitor</source>
        <translation>Überwachter Datenträger</translation>
    </message>
    <message>
        <source>Drive:</source>
        <translation>Pfad:</translation>
    </message>
    <message>
        <source>Sounds</source>
        <translation>Töne</translation>
    </message>
    <message>
        <source>Hourly Chime:</source>
        <translation>Stundenschlag:</translation>
    </message>
    <message>
        <source>Alarm Sound:</source>
        <translation>Erinnerungston:</translation>
    </message>
    <message>
        <source>Notice only</source>
        <translation>Kein Fenster</translation>
    </message>
    <message>
        <source>Reminders show only as desktop notifications, without their window</source>
        <translation>Erinnerungen erscheinen nur als Desktop-Benachrichtigung, ohne eigenes Fenster</translation>
    </message>
    <message>
        <source>Task Bar</source>
        <translation>Taskleiste</translation>
    </message>
    <message>
        <source>Task Bar Icon</source>
        <translation>Symbol im Infobereich</translation>
    </message>
    <message>
        <source>Show Task Bar Tray Icon</source>
        <translation>Symbol im Infobereich zeigen</translation>
    </message>
    <message>
        <source>Priority</source>
        <translation>Priorität</translation>
    </message>
    <message>
        <source>Run at Priority Level</source>
        <translation>Mit dieser Priorität ausführen</translation>
    </message>
    <message>
        <source>Idle</source>
        <translation>Niedrig</translation>
    </message>
    <message>
        <source>Normal</source>
        <translation>Normal</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Zeit</translation>
    </message>
    <message>
        <source>Set system clock (manual)</source>
        <translation>Systemuhr stellen (manuell)</translation>
    </message>
    <message>
        <source>h</source>
        <translation>h</translation>
    </message>
    <message>
        <source>m</source>
        <translation>m</translation>
    </message>
    <message>
        <source>s</source>
        <translation>s</translation>
    </message>
    <message>
        <source>Set</source>
        <translation>Stellen</translation>
    </message>
    <message>
        <source>Set system clock (Internet)</source>
        <translation>Systemuhr stellen (Internet)</translation>
    </message>
    <message>
        <source>Configure</source>
        <translation>Einrichten</translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Abbrechen</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>Hours</source>
        <translation>Stunden</translation>
    </message>
    <message>
        <source>Minutes</source>
        <translation>Minuten</translation>
    </message>
    <message>
        <source>Seconds</source>
        <translation>Sekunden</translation>
    </message>
    <message>
        <source>Browse for chime sound</source>
        <translation>Klangdatei für den Stundenschlag wählen</translation>
    </message>
    <message>
        <source>Browse for alarm sound</source>
        <translation>Klangdatei für den Erinnerungston wählen</translation>
    </message>
    <message>
        <source>Set manually</source>
        <translation>Manuell stellen</translation>
    </message>
    <message>
        <source>Set from Internet</source>
        <translation>Aus dem Internet stellen</translation>
    </message>
    <message>
        <source>Sound files (*.wav *.oga *.ogg *.opus *.flac *.mp3);;Wave audio files (*.wav);;MIDI files (*.mid)</source>
        <translation>Klangdateien (*.wav *.oga *.ogg *.opus *.flac *.mp3);;Wave-Audiodateien (*.wav);;MIDI-Dateien (*.mid)</translation>
    </message>
    <message>
        <source>Choose a sound file</source>
        <translation>Klangdatei auswählen</translation>
    </message>
    <message>
        <source>Settings pages</source>
        <translation>Seiten der Einstellungen</translation>
    </message>
    <message>
        <source>Drive</source>
        <translation>Datenträger</translation>
    </message>
</context>
<context>
    <name>TReminderFrm</name>
    <message>
        <source>Quick Reminder</source>
        <translation>Schnellerinnerung</translation>
    </message>
    <message>
        <source>Reminder time:</source>
        <translation>Erinnerungszeit:</translation>
    </message>
    <message>
        <source>h</source>
        <translation>h</translation>
    </message>
    <message>
        <source>m</source>
        <translation>m</translation>
    </message>
    <message>
        <source>Reminder text:</source>
        <translation>Erinnerungstext:</translation>
    </message>
    <message>
        <source>Hours</source>
        <translation>Stunden</translation>
    </message>
    <message>
        <source>Minutes</source>
        <translation>Minuten</translation>
    </message>
</context>
<context>
    <name>TReportFrm</name>
    <message>
        <source>System Performance Status</source>
        <translation>Systemleistung</translation>
    </message>
    <message>
        <source>Monitor has been running for:</source>
        <translation>Überwachung läuft seit:</translation>
    </message>
    <message>
        <source>Performance has been CPU limited for:</source>
        <translation>Durch den Prozessor begrenzt:</translation>
    </message>
    <message>
        <source>Performance has been memory limited for:</source>
        <translation>Durch den Arbeitsspeicher begrenzt:</translation>
    </message>
    <message>
        <source>Time spent swapping to / from disk:</source>
        <translation>Zeit für Auslagerung auf Datenträger:</translation>
    </message>
    <message>
        <source>Hard disk space usage:</source>
        <translation>Belegter Speicherplatz:</translation>
    </message>
    <message>
        <source> Performance Status Report: </source>
        <translation> Leistungsbericht: </translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
</context>
<context>
    <name>TSchedEditFrm</name>
    <message>
        <source>Today</source>
        <translation>Heute</translation>
    </message>
    <message>
        <source>On date:</source>
        <translation>Einmal am:</translation>
    </message>
    <message>
        <source>Daily from date:</source>
        <translation>Täglich ab:</translation>
    </message>
    <message>
        <source>Weekly from date:</source>
        <translation>Wöchentlich ab:</translation>
    </message>
    <message>
        <source>Each Sunday</source>
        <translation>Jeden Sonntag</translation>
    </message>
    <message>
        <source>Each Monday</source>
        <translation>Jeden Montag</translation>
    </message>
    <message>
        <source>Each Tuesday</source>
        <translation>Jeden Dienstag</translation>
    </message>
    <message>
        <source>Each Wednesday</source>
        <translation>Jeden Mittwoch</translation>
    </message>
    <message>
        <source>Each Thursday</source>
        <translation>Jeden Donnerstag</translation>
    </message>
    <message>
        <source>Each Friday</source>
        <translation>Jeden Freitag</translation>
    </message>
    <message>
        <source>Each Saturday</source>
        <translation>Jeden Samstag</translation>
    </message>
    <message>
        <source>Add Scheduler Item</source>
        <translation>Eintrag hinzufügen</translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>When:</source>
        <translation>Wann:</translation>
    </message>
    <message>
        <source>At time:</source>
        <translation>Uhrzeit:</translation>
    </message>
    <message>
        <source>h</source>
        <translation>h</translation>
    </message>
    <message>
        <source>m</source>
        <translation>m</translation>
    </message>
    <message>
        <source>Hours</source>
        <translation>Stunden</translation>
    </message>
    <message>
        <source>Minutes</source>
        <translation>Minuten</translation>
    </message>
    <message>
        <source>Date:</source>
        <translation>Datum:</translation>
    </message>
    <message>
        <source>Previous month</source>
        <translation>Vorheriger Monat</translation>
    </message>
    <message>
        <source>Next month</source>
        <translation>Nächster Monat</translation>
    </message>
    <message>
        <source>What:</source>
        <translation>Was:</translation>
    </message>
    <message>
        <source>Activity:</source>
        <translation>Aktion:</translation>
    </message>
    <message>
        <source>Reminder</source>
        <translation>Erinnerung</translation>
    </message>
    <message>
        <source>Run program</source>
        <translation>Programm starten</translation>
    </message>
    <message>
        <source>Text:</source>
        <translation>Text:</translation>
    </message>
    <message>
        <source>Program:</source>
        <translation>Programm:</translation>
    </message>
    <message>
        <source>Browse for program</source>
        <translation>Programm wählen</translation>
    </message>
    <message>
        <source>Parameters:</source>
        <translation>Parameter:</translation>
    </message>
    <message>
        <source>Start Dir:</source>
        <translation>Startordner:</translation>
    </message>
    <message>
        <source>Browse for start folder</source>
        <translation>Startordner wählen</translation>
    </message>
    <message>
        <source>State:</source>
        <translation>Fenster:</translation>
    </message>
    <message>
        <source>Normal</source>
        <translation>Normal</translation>
    </message>
    <message>
        <source>Minimized</source>
        <translation>Minimiert</translation>
    </message>
    <message>
        <source>Maximized</source>
        <translation>Maximiert</translation>
    </message>
    <message>
        <source>Choose program</source>
        <translation>Programm auswählen</translation>
    </message>
    <message>
        <source>Programs (*);;All files (*)</source>
        <translation>Programme (*);;Alle Dateien (*)</translation>
    </message>
    <message>
        <source>Choose a start directory</source>
        <translation>Startordner auswählen</translation>
    </message>
    <message>
        <source>Calendar</source>
        <translation>Kalender</translation>
    </message>
    <message>
        <source>Activity</source>
        <translation>Aktion</translation>
    </message>
</context>
<context>
    <name>TSchedMain</name>
    <message>
        <source>Scheduler</source>
        <translation>Zeitplaner</translation>
    </message>
    <message>
        <source>&amp;Add</source>
        <translation>&amp;Hinzufügen</translation>
    </message>
    <message>
        <source>&amp;Change</source>
        <translation>Ä&amp;ndern</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Löschen</translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>H&amp;ilfe</translation>
    </message>
    <message>
        <source>Modify Scheduler Item</source>
        <translation>Eintrag ändern</translation>
    </message>
    <message>
        <source>Add Scheduler Item</source>
        <translation>Eintrag hinzufügen</translation>
    </message>
    <message>
        <source>Scheduled items</source>
        <translation>Geplante Einträge</translation>
    </message>
</context>
<context>
    <name>TimeClient</name>
    <message>
        <source>Updating system time</source>
        <translation>Systemzeit wird aktualisiert</translation>
    </message>
    <message>
        <source>Unable to create socket</source>
        <translation>Socket kann nicht angelegt werden</translation>
    </message>
    <message>
        <source>Unable to connect to Internet</source>
        <translation>Keine Verbindung zum Internet</translation>
    </message>
    <message>
        <source>Looking up host %1</source>
        <translation>Suche Host %1</translation>
    </message>
    <message>
        <source>Connecting to %1</source>
        <translation>Verbinde mit %1</translation>
    </message>
    <message>
        <source>Connected to %1</source>
        <translation>Verbunden mit %1</translation>
    </message>
    <message>
        <source>Connection closed by host</source>
        <translation>Verbindung vom Host getrennt</translation>
    </message>
    <message>
        <source>Invalid server time, not set</source>
        <translation>Ungültige Serverzeit, nicht gestellt</translation>
    </message>
    <message>
        <source>Reply too slow, clock not set</source>
        <translation>Antwort zu langsam, Uhr nicht gestellt</translation>
    </message>
    <message>
        <source>Connection timed out</source>
        <translation>Zeitüberschreitung der Verbindung</translation>
    </message>
    <message>
        <source>Clock setting already in progress</source>
        <translation>Die Uhr wird bereits gestellt</translation>
    </message>
</context>
<context>
    <name>TimeReply</name>
    <message>
        <source>Clock is correct</source>
        <translation>Uhr geht richtig</translation>
    </message>
    <message numerus="yes">
        <source>Clock was %n seconds slow</source>
        <translation>
            <numerusform>Uhr ging %n Sekunde nach</numerusform>
            <numerusform>Uhr ging %n Sekunden nach</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Clock is %n seconds slow</source>
        <translation>
            <numerusform>Uhr geht %n Sekunde nach</numerusform>
            <numerusform>Uhr geht %n Sekunden nach</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Clock was %n seconds fast</source>
        <translation>
            <numerusform>Uhr ging %n Sekunde vor</numerusform>
            <numerusform>Uhr ging %n Sekunden vor</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Clock is %n seconds fast</source>
        <translation>
            <numerusform>Uhr geht %n Sekunde vor</numerusform>
            <numerusform>Uhr geht %n Sekunden vor</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 d %2 h %3 min %4 s</source>
        <translation>%1 Tg. %2 h %3 min %4 s</translation>
    </message>
    <message>
        <source>%1 h %2 min %3 s</source>
        <translation>%1 h %2 min %3 s</translation>
    </message>
    <message>
        <source>%1 min %2 s</source>
        <translation>%1 min %2 s</translation>
    </message>
    <message>
        <source>%1 s</source>
        <translation>%1 s</translation>
    </message>
    <message>
        <source>Clock was %1 slow</source>
        <translation>Uhr ging %1 nach</translation>
    </message>
    <message>
        <source>Clock is %1 slow</source>
        <translation>Uhr geht %1 nach</translation>
    </message>
    <message>
        <source>Clock was %1 fast</source>
        <translation>Uhr ging %1 vor</translation>
    </message>
    <message>
        <source>Clock is %1 fast</source>
        <translation>Uhr geht %1 vor</translation>
    </message>
    <message>
        <source>Server %1 ahead, not set</source>
        <translation>Server %1 voraus, nicht gestellt</translation>
    </message>
    <message>
        <source>Server %1 behind, not set</source>
        <translation>Server %1 zurück, nicht gestellt</translation>
    </message>
    <message>
        <source>The clock is %1 slow.</source>
        <translation>Die Uhr geht %1 nach.</translation>
    </message>
    <message>
        <source>The clock is %1 fast.</source>
        <translation>Die Uhr geht %1 vor.</translation>
    </message>
    <message>
        <source>The time server&apos;s time is far from the clock&apos;s.</source>
        <translation>Die Zeit des Zeitservers weicht stark von der Uhr ab.</translation>
    </message>
    <message>
        <source>Clock: %1</source>
        <translation>Uhr: %1</translation>
    </message>
    <message>
        <source>Server: %1</source>
        <translation>Server: %1</translation>
    </message>
    <message>
        <source>Set the clock to the server&apos;s time?</source>
        <translation>Die Uhr auf die Zeit des Servers stellen?</translation>
    </message>
</context>
<context>
    <name>TimeServers</name>
    <message>
        <source>Australia</source>
        <translation>Australien</translation>
    </message>
    <message>
        <source>France</source>
        <translation>Frankreich</translation>
    </message>
    <message>
        <source>Germany</source>
        <translation>Deutschland</translation>
    </message>
    <message>
        <source>Ireland</source>
        <translation>Irland</translation>
    </message>
    <message>
        <source>Japan</source>
        <translation>Japan</translation>
    </message>
    <message>
        <source>UK</source>
        <translation>Großbritannien</translation>
    </message>
    <message>
        <source>USA</source>
        <translation>USA</translation>
    </message>
    <message>
        <source>Sweden</source>
        <translation>Schweden</translation>
    </message>
    <message>
        <source>Switzerland</source>
        <translation>Schweiz</translation>
    </message>
    <message>
        <source>IPv6 not supported, use IPv4</source>
        <translation>IPv6 nicht unterstützt, IPv4 nutzen</translation>
    </message>
    <message>
        <source>Host name must not contain &apos;:&apos;</source>
        <translation>Hostname darf kein „:“ enthalten</translation>
    </message>
</context>
</TS>
