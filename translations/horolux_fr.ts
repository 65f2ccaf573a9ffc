<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr_FR">
<context>
    <name>DBusNotifier</name>
    <message>
        <source>Dismiss</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DialogButtons</name>
    <message>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Help</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>EditorRules</name>
    <message>
        <source>The %1 field contains a comma. A scheduled program cannot be stored with a comma in its program, parameters or start directory; please remove it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Program</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Parameters</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start Dir</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The Parameters field has a quote (%1) that is not closed, so the program could never be started. Put a backslash before a quote that belongs to a word (O\%1Brien), or enclose the word in the other kind of quotes (%2O%1Brien%2).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The Parameters field has a backslash before a letter or digit (%1), which would not reach the program. Write \\ for a backslash, or enclose the word in single quotes (&apos;C:\Temp\new&apos;).</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>GridTexts</name>
    <message>
        <source>Time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Date</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Type</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Detail</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>One-shot</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Daily</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Weekly</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Each %1</source>
        <extracomment>The type of an item due on one weekday; %1 is the abbreviated day name (&quot;Mon&quot;).</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unknown</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>HelpWindow</name>
    <message>
        <source>Horolux Help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt; &amp;Back</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Forward &gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Contents</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Search topics</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>HoroluxApplication</name>
    <message>
        <source>Unexpected error</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>OptionsRules</name>
    <message>
        <source>Priority not changed: not permitted</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Priority not changed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Synchronised by the system (NTP).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The system is synchronising (NTP).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Off</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Indefinite</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 secs</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Task Bar icon enabled because hide period was set to indefinite. (See online help for explanation.)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PanelController</name>
    <message>
        <source>Schedule unreadable, not saved</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Schedule file could not be read</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Settings file not understood</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot create file %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No system tray: icon not shown</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Could not connect to Web site</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You do not have the privilege needed to set the system time</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PanelMenu</name>
    <message>
        <source>&amp;Settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sc&amp;heduler</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Quick Reminder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Performance &amp;Report</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stay On &amp;Top</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Automatic Time &amp;Update</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connect to %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;About Horolux</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ReminderNotices</name>
    <message>
        <source>Reminder</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ScheduleList</name>
    <message>
        <source>1 schedule line set aside</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 schedule lines set aside</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ScheduleScanner</name>
    <message>
        <source>Scheduler item %1 failed.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Startup</name>
    <message>
        <source>Good morning %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Good afternoon %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Good evening %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TAbtFrm</name>
    <message>
        <source>About Horolux</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Horolux version 1.0</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A desktop clock with reminders</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TAlarmFrm</name>
    <message>
        <source>Reminder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TAutoFrm</name>
    <message>
        <source>Automatic Time Update</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Window title:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Time server:</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>THoroluxMain</name>
    <message>
        <source>Time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Disk</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Processor</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Memory</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Paging</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Date and status</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Right-click clock face for menu</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TOptionsFrm</name>
    <message>
        <source>Off</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Beep</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Play sound:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Browse...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Display</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Display Format</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>12 Hour</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>24 Hour</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Hide Period</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Monitors</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Update Interval</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Disk Monitor</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Drive:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sounds</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Hourly Chime:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Alarm Sound:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Notice only</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reminders show only as desktop notifications, without their window</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Task Bar</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Task Bar Icon</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show Task Bar Tray Icon</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Priority</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Run at Priority Level</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Idle</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Normal</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set system clock (manual)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>h</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>m</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>s</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set system clock (Internet)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Configure</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Hours</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Minutes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Seconds</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Browse for chime sound</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Browse for alarm sound</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set manually</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set from Internet</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sound files (*.wav *.oga *.ogg *.opus *.flac *.mp3);;Wave audio files (*.wav);;MIDI files (*.mid)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose a sound file</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TReminderFrm</name>
    <message>
        <source>Quick Reminder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reminder time:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>h</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>m</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reminder text:</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TReportFrm</name>
    <message>
        <source>System Performance Status</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Monitor has been running for:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Performance has been CPU limited for:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Performance has been memory limited for:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Time spent swapping to / from disk:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Hard disk space usage:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> Performance Status Report: </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Help</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TSchedEditFrm</name>
    <message>
        <source>Today</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>On date:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Daily from date:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Weekly from date:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Each Sunday</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Each Monday</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Each Tuesday</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Each Wednesday</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Each Thursday</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Each Friday</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Each Saturday</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add Scheduler Item</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>When:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>At time:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>h</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>m</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Hours</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Minutes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Date:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Previous month</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Next month</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>What:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Activity:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reminder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Run program</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Text:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Program:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Browse for program</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Parameters:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start Dir:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Browse for start folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>State:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Normal</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Minimized</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Maximized</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose program</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Programs (*);;All files (*)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose a start directory</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TSchedMain</name>
    <message>
        <source>Scheduler</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Add</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Change</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Modify Scheduler Item</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add Scheduler Item</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TimeClient</name>
    <message>
        <source>Updating system time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unable to create socket</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unable to connect to Internet</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Looking up host %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connecting to %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connected to %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connection closed by host</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Invalid server time, not set</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reply too slow, clock not set</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connection timed out</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TimeReply</name>
    <message>
        <source>Clock is correct</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>Clock was %n seconds slow</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Clock is %n seconds slow</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Clock was %n seconds fast</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Clock is %n seconds fast</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
</context>
<context>
    <name>TimeServers</name>
    <message>
        <source>Australia</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>France</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Germany</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ireland</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Japan</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>UK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>USA</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sweden</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Switzerland</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
