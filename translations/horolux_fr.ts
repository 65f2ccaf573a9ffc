<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr_FR">
<context>
    <name>DBusNotifier</name>
    <message>
        <source>Dismiss</source>
        <translation>Fermer</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Ouvrir</translation>
    </message>
    <message>
        <source>Snooze 10 min</source>
        <translation>Répéter dans 10 min</translation>
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
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Aide</translation>
    </message>
</context>
<context>
    <name>EditorRules</name>
    <message>
        <source>The %1 field contains a comma. A scheduled program cannot be stored with a comma in its program, parameters or start directory; please remove it.</source>
        <translation>Le champ «&#xa0;%1&#xa0;» contient une virgule. Un programme planifié ne peut pas être enregistré avec une virgule dans son programme, ses arguments ou son dossier de départ&#xa0;; veuillez la supprimer.</translation>
    </message>
    <message>
        <source>Program</source>
        <translation>Programme</translation>
    </message>
    <message>
        <source>Parameters</source>
        <translation>Arguments</translation>
    </message>
    <message>
        <source>Start Dir</source>
        <translation>Dossier</translation>
    </message>
    <message>
        <source>The Parameters field has a quote (%1) that is not closed, so the program could never be started. Put a backslash before a quote that belongs to a word (O\%1Brien), or enclose the word in the other kind of quotes (%2O%1Brien%2).</source>
        <translation>Le champ «&#xa0;Arguments&#xa0;» contient un guillemet (%1) qui n’est pas refermé&#xa0;: le programme ne pourrait jamais être lancé. Placez une barre oblique inverse devant un guillemet qui fait partie d’un mot (O\%1Brien), ou entourez le mot de l’autre sorte de guillemets (%2O%1Brien%2).</translation>
    </message>
    <message>
        <source>The Parameters field has a backslash before a letter or digit (%1), which would not reach the program. Write \\ for a backslash, or enclose the word in single quotes (&apos;C:\Temp\new&apos;).</source>
        <translation>Le champ «&#xa0;Arguments&#xa0;» contient une barre oblique inverse devant une lettre ou un chiffre (%1), qui ne parviendrait pas au programme. Écrivez \\ pour une barre oblique inverse, ou entourez le mot d’apostrophes droites (&apos;C:\Temp\new&apos;).</translation>
    </message>
</context>
<context>
    <name>GridTexts</name>
    <message>
        <source>Time</source>
        <translation>Heure</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>Type</translation>
    </message>
    <message>
        <source>Detail</source>
        <translation>Détail</translation>
    </message>
    <message>
        <source>One-shot</source>
        <translation>Une fois</translation>
    </message>
    <message>
        <source>Daily</source>
        <translation>Quotidien</translation>
    </message>
    <message>
        <source>Weekly</source>
        <translation>Hebdo.</translation>
    </message>
    <message>
        <source>Each %1</source>
        <extracomment>The type of an item due on one weekday; %1 is the abbreviated day name (&quot;Mon&quot;).</extracomment>
        <translation>Chaque %1</translation>
    </message>
    <message>
        <source>Unknown</source>
        <translation>Inconnu</translation>
    </message>
    <message>
        <source>Reminder:</source>
        <translation>Rappel : </translation>
    </message>
    <message>
        <source>Run:</source>
        <translation>Exécuter : </translation>
    </message>
</context>
<context>
    <name>HelpWindow</name>
    <message>
        <source>Horolux Help</source>
        <translation>Aide de Horolux</translation>
    </message>
    <message>
        <source>&lt; &amp;Back</source>
        <translation>&lt; &amp;Précédent</translation>
    </message>
    <message>
        <source>&amp;Forward &gt;</source>
        <translation>Sui&amp;vant &gt;</translation>
    </message>
    <message>
        <source>&amp;Contents</source>
        <translation>&amp;Sommaire</translation>
    </message>
    <message>
        <source>Search topics</source>
        <translation>Rechercher un sujet</translation>
    </message>
    <message>
        <source>Topics</source>
        <translation>Sujets</translation>
    </message>
    <message>
        <source>Help page</source>
        <translation>Page d’aide</translation>
    </message>
</context>
<context>
    <name>HoroluxApplication</name>
    <message>
        <source>Unexpected error</source>
        <translation>Erreur inattendue</translation>
    </message>
</context>
<context>
    <name>OptionsRules</name>
    <message>
        <source>Priority not changed: not permitted</source>
        <translation>Priorité inchangée&#xa0;: non autorisé</translation>
    </message>
    <message>
        <source>Priority not changed</source>
        <translation>Priorité inchangée</translation>
    </message>
    <message>
        <source>Synchronised by the system (NTP).</source>
        <translation>Synchronisée par le système (NTP).</translation>
    </message>
    <message>
        <source>The system is synchronising (NTP).</source>
        <translation>Le système se synchronise (NTP).</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>Aucune</translation>
    </message>
    <message>
        <source>Indefinite</source>
        <translation>Indéfinie</translation>
    </message>
    <message>
        <source>Task Bar icon enabled because hide period was set to indefinite. (See online help for explanation.)</source>
        <translation>L’icône de notification a été activée, car la durée de masquage est indéfinie. (Voir l’aide pour plus d’explications.)</translation>
    </message>
    <message numerus="yes">
        <source>%n secs</source>
        <translation>
            <numerusform>%n s</numerusform>
            <numerusform>%n s</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>PanelController</name>
    <message>
        <source>Schedule unreadable, not saved</source>
        <translation>Planning illisible, non enregistré</translation>
    </message>
    <message>
        <source>Schedule file could not be read</source>
        <translation>Impossible de lire le fichier du planning</translation>
    </message>
    <message>
        <source>Settings file not understood</source>
        <translation>Fichier de paramètres non reconnu</translation>
    </message>
    <message>
        <source>Cannot create file %1</source>
        <translation>Impossible de créer le fichier %1</translation>
    </message>
    <message>
        <source>No system tray: icon not shown</source>
        <translation>Pas de zone de notification&#xa0;: icône masquée</translation>
    </message>
    <message>
        <source>Could not connect to Web site</source>
        <translation>Impossible de se connecter au site Web</translation>
    </message>
    <message>
        <source>You do not have the privilege needed to set the system time</source>
        <translation>Vous n’avez pas le droit nécessaire pour régler l’heure du système</translation>
    </message>
</context>
<context>
    <name>PanelMenu</name>
    <message>
        <source>&amp;Settings</source>
        <translation>&amp;Paramètres</translation>
    </message>
    <message>
        <source>Sc&amp;heduler</source>
        <translation>Pla&amp;nificateur</translation>
    </message>
    <message>
        <source>&amp;Quick Reminder</source>
        <translation>&amp;Rappel rapide</translation>
    </message>
    <message>
        <source>Performance &amp;Report</source>
        <translation>Rapport de perfor&amp;mances</translation>
    </message>
    <message>
        <source>Stay On &amp;Top</source>
        <translation>&amp;Toujours au premier plan</translation>
    </message>
    <message>
        <source>Automatic Time &amp;Update</source>
        <translation>Mise à l’heure a&amp;utomatique</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Aide</translation>
    </message>
    <message>
        <source>Connect to %1</source>
        <translation>Aller sur %1</translation>
    </message>
    <message>
        <source>&amp;About Horolux</source>
        <translation>À propos de &amp;Horolux</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Quitter</translation>
    </message>
</context>
<context>
    <name>ReminderNotices</name>
    <message>
        <source>Reminder</source>
        <translation>Rappel</translation>
    </message>
</context>
<context>
    <name>ScheduleList</name>
    <message>
        <source>1 schedule line set aside</source>
        <translation>1 ligne du planning mise de côté</translation>
    </message>
    <message>
        <source>%1 schedule lines set aside</source>
        <translation>%1 lignes du planning mises de côté</translation>
    </message>
</context>
<context>
    <name>ScheduleModel</name>
    <message>
        <source>No items</source>
        <translation>Aucun élément</translation>
    </message>
</context>
<context>
    <name>ScheduleScanner</name>
    <message>
        <source>Scheduler item %1 failed.</source>
        <translation>L’élément planifié %1 a échoué.</translation>
    </message>
</context>
<context>
    <name>Startup</name>
    <message>
        <source>Good morning %1</source>
        <translation>Bonjour, %1</translation>
    </message>
    <message>
        <source>Good afternoon %1</source>
        <translation>Bonjour, %1</translation>
    </message>
    <message>
        <source>Good evening %1</source>
        <translation>Bonsoir, %1</translation>
    </message>
</context>
<context>
    <name>TAbtFrm</name>
    <message>
        <source>About Horolux</source>
        <translation>À propos</translation>
    </message>
    <message>
        <source>A desktop clock with reminders</source>
        <translation>Horloge de bureau avec rappels</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Horolux, version %1</source>
        <translation>Horolux, version %1</translation>
    </message>
    <message>
        <source>Horolux version %1</source>
        <translation>Horolux version %1</translation>
    </message>
</context>
<context>
    <name>TAlarmFrm</name>
    <message>
        <source>Reminder</source>
        <translation>Rappel</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Reminder text</source>
        <translation>Texte du rappel</translation>
    </message>
    <message>
        <source>Snooze</source>
        <translation>Répéter</translation>
    </message>
    <message>
        <source>5 minutes</source>
        <translation>5 minutes</translation>
    </message>
    <message>
        <source>10 minutes</source>
        <translation>10 minutes</translation>
    </message>
    <message>
        <source>30 minutes</source>
        <translation>30 minutes</translation>
    </message>
    <message>
        <source>1 hour</source>
        <translation>1 heure</translation>
    </message>
    <message>
        <source>Tomorrow at this time</source>
        <translation>Demain à la même heure</translation>
    </message>
    <message>
        <source>Snooze: %1</source>
        <translation>Répéter : %1</translation>
    </message>
</context>
<context>
    <name>TAutoFrm</name>
    <message>
        <source>Automatic Time Update</source>
        <translation>Mise à l’heure automatique</translation>
    </message>
    <message>
        <source>Window title:</source>
        <translation>Titre&#xa0;:</translation>
    </message>
    <message>
        <source>Time server:</source>
        <translation>Serveur&#xa0;:</translation>
    </message>
    <message>
        <source>Time server</source>
        <translation>Serveur de temps</translation>
    </message>
    <message>
        <source>Time servers</source>
        <translation>Serveurs de temps</translation>
    </message>
</context>
<context>
    <name>THoroluxMain</name>
    <message>
        <source>Time</source>
        <translation>Heure</translation>
    </message>
    <message>
        <source>Disk</source>
        <translation>Disque</translation>
    </message>
    <message>
        <source>Processor</source>
        <translation>Processeur</translation>
    </message>
    <message>
        <source>Memory</source>
        <translation>Mémoire</translation>
    </message>
    <message>
        <source>Paging</source>
        <translation>Pagination</translation>
    </message>
    <message>
        <source>Date and status</source>
        <translation>Date et état</translation>
    </message>
    <message>
        <source>Right-click clock face for menu</source>
        <translation>Clic droit sur l’horloge&#xa0;: menu</translation>
    </message>
</context>
<context>
    <name>TOptionsFrm</name>
    <message>
        <source>Off</source>
        <translation>Désactivé</translation>
    </message>
    <message>
        <source>Beep</source>
        <translation>Bip</translation>
    </message>
    <message>
        <source>Play sound:</source>
        <translation>Fichier&#xa0;:</translation>
    </message>
    <message>
        <source>Browse...</source>
        <translation>Choisir...</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Paramètres</translation>
    </message>
    <message>
        <source>Display</source>
        <translation>Affichage</translation>
    </message>
    <message>
        <source>Display Format</source>
        <translation>Format d’affichage</translation>
    </message>
    <message>
        <source>12 Hour</source>
        <translation>12 heures</translation>
    </message>
    <message>
        <source>24 Hour</source>
        <translation>24 heures</translation>
    </message>
    <message>
        <source>Hide Period</source>
        <translation>Durée de masquage</translation>
    </message>
    <message>
        <source>Monitors</source>
        <translation>Surveillance</translation>
    </message>
    <message>
        <source>Update Interval</source>
        <translation>Intervalle de mise à jour</translation>
    </message>
    <message>
        <source>Disk Monitor</source>
        <translation>Disque surveillé</translation>
    </message>
    <message>
        <source>Drive:</source>
        <translation>Disque&#xa0;:</translation>
    </message>
    <message>
        <source>Sounds</source>
        <translation>Sons</translation>
    </message>
    <message>
        <source>Hourly Chime:</source>
        <translation>Carillon horaire&#xa0;:</translation>
    </message>
    <message>
        <source>Alarm Sound:</source>
        <translation>Son des rappels&#xa0;:</translation>
    </message>
    <message>
        <source>Notice only</source>
        <translation>Sans fenêtre</translation>
    </message>
    <message>
        <source>Reminders show only as desktop notifications, without their window</source>
        <translation>Les rappels ne s’affichent qu’en notification du bureau, sans leur fenêtre</translation>
    </message>
    <message>
        <source>Task Bar</source>
        <translation>Icône</translation>
    </message>
    <message>
        <source>Task Bar Icon</source>
        <translation>Icône de notification</translation>
    </message>
    <message>
        <source>Show Task Bar Tray Icon</source>
        <translation>Afficher l’icône de notification</translation>
    </message>
    <message>
        <source>Priority</source>
        <translation>Priorité</translation>
    </message>
    <message>
        <source>Run at Priority Level</source>
        <translation>Niveau de priorité</translation>
    </message>
    <message>
        <source>Idle</source>
        <translation>Basse</translation>
    </message>
    <message>
        <source>Normal</source>
        <translation>Normale</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Heure</translation>
    </message>
    <message>
        <source>Set system clock (manual)</source>
        <translation>Régler l’horloge (manuellement)</translation>
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
        <translation>Régler</translation>
    </message>
    <message>
        <source>Set system clock (Internet)</source>
        <translation>Régler l’horloge (Internet)</translation>
    </message>
    <message>
        <source>Configure</source>
        <translation>Configurer</translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>A&amp;nnuler</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Aide</translation>
    </message>
    <message>
        <source>Hours</source>
        <translation>Heures</translation>
    </message>
    <message>
        <source>Minutes</source>
        <translation>Minutes</translation>
    </message>
    <message>
        <source>Seconds</source>
        <translation>Secondes</translation>
    </message>
    <message>
        <source>Browse for chime sound</source>
        <translation>Choisir le son du carillon</translation>
    </message>
    <message>
        <source>Browse for alarm sound</source>
        <translation>Choisir le son des rappels</translation>
    </message>
    <message>
        <source>Set manually</source>
        <translation>Régler manuellement</translation>
    </message>
    <message>
        <source>Set from Internet</source>
        <translation>Régler depuis Internet</translation>
    </message>
    <message>
        <source>Sound files (*.wav *.oga *.ogg *.opus *.flac *.mp3);;Wave audio files (*.wav);;MIDI files (*.mid)</source>
        <translation>Fichiers son (*.wav *.oga *.ogg *.opus *.flac *.mp3);;Fichiers audio Wave (*.wav);;Fichiers MIDI (*.mid)</translation>
    </message>
    <message>
        <source>Choose a sound file</source>
        <translation>Choisir un fichier son</translation>
    </message>
    <message>
        <source>Settings pages</source>
        <translation>Pages des paramètres</translation>
    </message>
    <message>
        <source>Drive</source>
        <translation>Disque</translation>
    </message>
</context>
<context>
    <name>TReminderFrm</name>
    <message>
        <source>Quick Reminder</source>
        <translation>Rappel rapide</translation>
    </message>
    <message>
        <source>Reminder time:</source>
        <translation>Heure du rappel&#xa0;:</translation>
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
        <translation>Texte du rappel&#xa0;:</translation>
    </message>
    <message>
        <source>Hours</source>
        <translation>Heures</translation>
    </message>
    <message>
        <source>Minutes</source>
        <translation>Minutes</translation>
    </message>
</context>
<context>
    <name>TReportFrm</name>
    <message>
        <source>System Performance Status</source>
        <translation>Performances du système</translation>
    </message>
    <message>
        <source>Monitor has been running for:</source>
        <translation>Surveillance active depuis&#xa0;:</translation>
    </message>
    <message>
        <source>Performance has been CPU limited for:</source>
        <translation>Limité par le processeur&#xa0;:</translation>
    </message>
    <message>
        <source>Performance has been memory limited for:</source>
        <translation>Limité par la mémoire&#xa0;:</translation>
    </message>
    <message>
        <source>Time spent swapping to / from disk:</source>
        <translation>Temps de pagination sur disque&#xa0;:</translation>
    </message>
    <message>
        <source>Hard disk space usage:</source>
        <translation>Espace disque utilisé&#xa0;:</translation>
    </message>
    <message>
        <source> Performance Status Report: </source>
        <translation> Rapport de performances&#xa0;: </translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Aide</translation>
    </message>
</context>
<context>
    <name>TSchedEditFrm</name>
    <message>
        <source>Today</source>
        <translation>Aujourd’hui</translation>
    </message>
    <message>
        <source>On date:</source>
        <translation>Une fois le&#xa0;:</translation>
    </message>
    <message>
        <source>Daily from date:</source>
        <translation>Quotidien dès le&#xa0;:</translation>
    </message>
    <message>
        <source>Weekly from date:</source>
        <translation>Hebdo. dès le&#xa0;:</translation>
    </message>
    <message>
        <source>Each Sunday</source>
        <translation>Chaque dimanche</translation>
    </message>
    <message>
        <source>Each Monday</source>
        <translation>Chaque lundi</translation>
    </message>
    <message>
        <source>Each Tuesday</source>
        <translation>Chaque mardi</translation>
    </message>
    <message>
        <source>Each Wednesday</source>
        <translation>Chaque mercredi</translation>
    </message>
    <message>
        <source>Each Thursday</source>
        <translation>Chaque jeudi</translation>
    </message>
    <message>
        <source>Each Friday</source>
        <translation>Chaque vendredi</translation>
    </message>
    <message>
        <source>Each Saturday</source>
        <translation>Chaque samedi</translation>
    </message>
    <message>
        <source>Add Scheduler Item</source>
        <translation>Ajouter un élément planifié</translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>When:</source>
        <translation>Quand&#xa0;:</translation>
    </message>
    <message>
        <source>At time:</source>
        <translation>Heure&#xa0;:</translation>
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
        <translation>Heures</translation>
    </message>
    <message>
        <source>Minutes</source>
        <translation>Minutes</translation>
    </message>
    <message>
        <source>Date:</source>
        <translation>Date&#xa0;:</translation>
    </message>
    <message>
        <source>Previous month</source>
        <translation>Mois précédent</translation>
    </message>
    <message>
        <source>Next month</source>
        <translation>Mois suivant</translation>
    </message>
    <message>
        <source>What:</source>
        <translation>Quoi&#xa0;:</translation>
    </message>
    <message>
        <source>Activity:</source>
        <translation>Action&#xa0;:</translation>
    </message>
    <message>
        <source>Reminder</source>
        <translation>Rappel</translation>
    </message>
    <message>
        <source>Run program</source>
        <translation>Programme</translation>
    </message>
    <message>
        <source>Text:</source>
        <translation>Texte&#xa0;:</translation>
    </message>
    <message>
        <source>Program:</source>
        <translation>Programme&#xa0;:</translation>
    </message>
    <message>
        <source>Browse for program</source>
        <translation>Choisir le programme</translation>
    </message>
    <message>
        <source>Parameters:</source>
        <translation>Arguments&#xa0;:</translation>
    </message>
    <message>
        <source>Start Dir:</source>
        <translation>Dossier&#xa0;:</translation>
    </message>
    <message>
        <source>Browse for start folder</source>
        <translation>Choisir le dossier de départ</translation>
    </message>
    <message>
        <source>State:</source>
        <translation>Fenêtre&#xa0;:</translation>
    </message>
    <message>
        <source>Normal</source>
        <translation>Normale</translation>
    </message>
    <message>
        <source>Minimized</source>
        <translation>Réduite</translation>
    </message>
    <message>
        <source>Maximized</source>
        <translation>Agrandie</translation>
    </message>
    <message>
        <source>Choose program</source>
        <translation>Choisir un programme</translation>
    </message>
    <message>
        <source>Programs (*);;All files (*)</source>
        <translation>Programmes (*);;Tous les fichiers (*)</translation>
    </message>
    <message>
        <source>Choose a start directory</source>
        <translation>Choisir un dossier de départ</translation>
    </message>
    <message>
        <source>Calendar</source>
        <translation>Calendrier</translation>
    </message>
    <message>
        <source>Activity</source>
        <translation>Action</translation>
    </message>
</context>
<context>
    <name>TSchedMain</name>
    <message>
        <source>Scheduler</source>
        <translation>Planificateur</translation>
    </message>
    <message>
        <source>&amp;Add</source>
        <translation>&amp;Ajouter</translation>
    </message>
    <message>
        <source>&amp;Change</source>
        <translation>&amp;Modifier</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Supprimer</translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>Ai&amp;de</translation>
    </message>
    <message>
        <source>Modify Scheduler Item</source>
        <translation>Modifier un élément planifié</translation>
    </message>
    <message>
        <source>Add Scheduler Item</source>
        <translation>Ajouter un élément planifié</translation>
    </message>
    <message>
        <source>Scheduled items</source>
        <translation>Éléments planifiés</translation>
    </message>
</context>
<context>
    <name>TimeClient</name>
    <message>
        <source>Updating system time</source>
        <translation>Mise à l’heure du système</translation>
    </message>
    <message>
        <source>Unable to create socket</source>
        <translation>Impossible de créer le socket</translation>
    </message>
    <message>
        <source>Unable to connect to Internet</source>
        <translation>Impossible de se connecter à Internet</translation>
    </message>
    <message>
        <source>Looking up host %1</source>
        <translation>Recherche de l’hôte %1</translation>
    </message>
    <message>
        <source>Connecting to %1</source>
        <translation>Connexion à %1</translation>
    </message>
    <message>
        <source>Connected to %1</source>
        <translation>Connecté à %1</translation>
    </message>
    <message>
        <source>Connection closed by host</source>
        <translation>Connexion fermée par l’hôte</translation>
    </message>
    <message>
        <source>Invalid server time, not set</source>
        <translation>Heure du serveur invalide, non réglée</translation>
    </message>
    <message>
        <source>Reply too slow, clock not set</source>
        <translation>Réponse trop lente, horloge non réglée</translation>
    </message>
    <message>
        <source>Connection timed out</source>
        <translation>Délai de connexion dépassé</translation>
    </message>
    <message>
        <source>Clock setting already in progress</source>
        <translation>Réglage de l’horloge déjà en cours</translation>
    </message>
</context>
<context>
    <name>TimeReply</name>
    <message>
        <source>Clock is correct</source>
        <translation>L’horloge est à l’heure</translation>
    </message>
    <message numerus="yes">
        <source>Clock was %n seconds slow</source>
        <translation>
            <numerusform>L’horloge retardait de %n seconde</numerusform>
            <numerusform>L’horloge retardait de %n secondes</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Clock is %n seconds slow</source>
        <translation>
            <numerusform>L’horloge retarde de %n seconde</numerusform>
            <numerusform>L’horloge retarde de %n secondes</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Clock was %n seconds fast</source>
        <translation>
            <numerusform>L’horloge avançait de %n seconde</numerusform>
            <numerusform>L’horloge avançait de %n secondes</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Clock is %n seconds fast</source>
        <translation>
            <numerusform>L’horloge avance de %n seconde</numerusform>
            <numerusform>L’horloge avance de %n secondes</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 d %2 h %3 min %4 s</source>
        <translation>%1 j %2 h %3 min %4 s</translation>
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
        <translation>L’horloge retardait de %1</translation>
    </message>
    <message>
        <source>Clock is %1 slow</source>
        <translation>L’horloge retarde de %1</translation>
    </message>
    <message>
        <source>Clock was %1 fast</source>
        <translation>L’horloge avançait de %1</translation>
    </message>
    <message>
        <source>Clock is %1 fast</source>
        <translation>L’horloge avance de %1</translation>
    </message>
    <message>
        <source>Server %1 ahead, not set</source>
        <translation>Serveur en avance de %1, non réglée</translation>
    </message>
    <message>
        <source>Server %1 behind, not set</source>
        <translation>Serveur en retard de %1, non réglée</translation>
    </message>
    <message>
        <source>The clock is %1 slow.</source>
        <translation>L’horloge retarde de %1.</translation>
    </message>
    <message>
        <source>The clock is %1 fast.</source>
        <translation>L’horloge avance de %1.</translation>
    </message>
    <message>
        <source>The time server&apos;s time is far from the clock&apos;s.</source>
        <translation>L’heure du serveur de temps est très éloignée de celle de l’horloge.</translation>
    </message>
    <message>
        <source>Clock: %1</source>
        <translation>Horloge : %1</translation>
    </message>
    <message>
        <source>Server: %1</source>
        <translation>Serveur : %1</translation>
    </message>
    <message>
        <source>Set the clock to the server&apos;s time?</source>
        <translation>Régler l’horloge sur l’heure du serveur ?</translation>
    </message>
</context>
<context>
    <name>TimeServers</name>
    <message>
        <source>Australia</source>
        <translatorcomment>Ends in a no-break space: the time server list shows the country, U+00A0, a colon and the host.</translatorcomment>
        <translation>Australie&#xa0;</translation>
    </message>
    <message>
        <source>France</source>
        <translatorcomment>Ends in a no-break space: the time server list shows the country, U+00A0, a colon and the host.</translatorcomment>
        <translation>France&#xa0;</translation>
    </message>
    <message>
        <source>Germany</source>
        <translatorcomment>Ends in a no-break space: the time server list shows the country, U+00A0, a colon and the host.</translatorcomment>
        <translation>Allemagne&#xa0;</translation>
    </message>
    <message>
        <source>Ireland</source>
        <translatorcomment>Ends in a no-break space: the time server list shows the country, U+00A0, a colon and the host.</translatorcomment>
        <translation>Irlande&#xa0;</translation>
    </message>
    <message>
        <source>Japan</source>
        <translatorcomment>Ends in a no-break space: the time server list shows the country, U+00A0, a colon and the host.</translatorcomment>
        <translation>Japon&#xa0;</translation>
    </message>
    <message>
        <source>UK</source>
        <translatorcomment>Ends in a no-break space: the time server list shows the country, U+00A0, a colon and the host.</translatorcomment>
        <translation>Royaume-Uni&#xa0;</translation>
    </message>
    <message>
        <source>USA</source>
        <translatorcomment>Ends in a no-break space: the time server list shows the country, U+00A0, a colon and the host.</translatorcomment>
        <translation>États-Unis&#xa0;</translation>
    </message>
    <message>
        <source>Sweden</source>
        <translatorcomment>Ends in a no-break space: the time server list shows the country, U+00A0, a colon and the host.</translatorcomment>
        <translation>Suède&#xa0;</translation>
    </message>
    <message>
        <source>Switzerland</source>
        <translatorcomment>Ends in a no-break space: the time server list shows the country, U+00A0, a colon and the host.</translatorcomment>
        <translation>Suisse&#xa0;</translation>
    </message>
    <message>
        <source>IPv6 not supported, use IPv4</source>
        <translation>Pas d’IPv6, utilisez IPv4</translation>
    </message>
    <message>
        <source>Host name must not contain &apos;:&apos;</source>
        <translation>Pas de « : » dans le nom d’hôte</translation>
    </message>
</context>
</TS>
