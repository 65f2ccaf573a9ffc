#include "windows/ui/HelpPages.h"

#include <QRegularExpression>

namespace {

// Pieces shared by the four editor pages.
const char* const kEditorWhen = R"html(
<h3>When</h3>
<p>Type the time of day in <b>At time:</b> (hours 0 to 23, then minutes), then pick one of
the date options:</p>
<table cellpadding="3" width="100%">
<tr><td valign="top" width="32%"><b>Today</b></td><td>Once, today.</td></tr>
<tr><td valign="top" width="32%"><b>On date:</b></td><td>Once, on the day chosen in the calendar.</td></tr>
<tr><td valign="top" width="32%"><b>Daily from date:</b></td><td>Every day, starting on the day the
calendar shows. The calendar is locked while this option is chosen, so pick the start day
first.</td></tr>
<tr><td valign="top" width="32%"><b>Weekly from date:</b></td><td>On the day chosen in the calendar and
every seven days after it.</td></tr>
<tr><td valign="top" width="32%"><b>Each Sunday</b>,<br>... <b>Each Saturday</b></td><td>Every week on
that day, from the first such day that is not before today.</td></tr>
</table>
<p>The arrow buttons either side of the month name step the calendar one month back or
forward. A date in the past is accepted: the item then comes up at the next minute once its
time of day has been reached.</p>
)html";

const char* const kEditorReminder = R"html(
<h3>What: a reminder</h3>
<p>Set <b>Activity:</b> to <b>Reminder</b> and type the message in <b>Text:</b>. When
the item comes due, Horolux shows it in a <a href="reminder_window">reminder window</a> and
plays the alarm sound chosen on the <a href="settings_Soun">Sounds</a> page. The text is
kept on one line, so Enter does not start a new one.</p>
)html";

const char* const kEditorRun = R"html(
<h3>What: a program to run</h3>
<p>Set <b>Activity:</b> to <b>Run program</b> and fill in:</p>
<table cellpadding="3" width="100%">
<tr><td valign="top" width="32%"><b>Program:</b></td><td>The program to start, with its full path. The
<b>...</b> button lets you pick it. A document or a web address works too: it is opened
with your desktop's usual application for it.</td></tr>
<tr><td valign="top" width="32%"><b>Parameters:</b></td><td>What to pass to the program, as words
written the way a terminal takes them (see <i>How parameters are read</i> below).</td></tr>
<tr><td valign="top" width="32%"><b>Start Dir:</b></td><td>The folder the program starts in; the
<b>...</b> button lets you pick it.</td></tr>
<tr><td valign="top" width="32%"><b>State:</b></td><td><b>Normal</b>, <b>Minimized</b> or
<b>Maximized</b>: how the program's window should first appear.</td></tr>
</table>
<h3>How parameters are read</h3>
<ul>
<li>Blanks separate the words: <tt>-v report.txt</tt> gives the program two words.</li>
<li>Single quotes keep everything between them as it is, blanks and backslashes included:
<tt>'two words'</tt> is one word, <tt>'C:\Temp\new'</tt> is <tt>C:\Temp\new</tt>.</li>
<li>Double quotes keep blanks too: <tt>"my file.txt"</tt> is one word. Inside them a
backslash before <tt>"</tt>, <tt>\</tt>, <tt>$</tt> or <tt>`</tt> stands for that
character; any other backslash is kept.</li>
<li>Outside quotes a backslash makes the next character part of the word:
<tt>my\ file.txt</tt> is one word, <tt>O\'Brien</tt> is <tt>O'Brien</tt> and
<tt>\\</tt> is one backslash. A backslash at the very end is kept.</li>
<li>Quoted and plain parts written together make one word: <tt>a"b c"</tt> is
<tt>ab c</tt>; <tt>""</tt> is an empty word.</li>
<li>Nothing else is interpreted and no shell runs: <tt>$HOME</tt>, <tt>*</tt>, <tt>;</tt>,
<tt>|</tt> and <tt>&gt;</tt> reach the program exactly as typed.</li>
</ul>
<p>When you press OK, Horolux refuses parameters that could not be passed as you typed them,
and says which field to correct: a quote that is not closed (write <tt>O\'Brien</tt> or
<tt>"O'Brien"</tt>), and a backslash before a letter or digit outside quotes, which would
be lost (write <tt>'C:\Temp\new'</tt> or <tt>C:\\Temp\\new</tt>). No field can contain a
comma.</p>
<p>Whether the program exists is not checked when you press OK: if it cannot be started
when the item comes due, or a document or web address has no application to open it, you
see the message <i>Scheduler item ... failed.</i> with the item's details, and a recurring
item stays scheduled for next time.</p>
)html";

const char* const kEditorButtons = R"html(
<h3>Buttons</h3>
<p><b>OK</b> puts the item in the <a href="Scheduler">Scheduler</a> list, where it takes its
place in time order; <b>Cancel</b> leaves the list as it was; <b>Help</b> shows this
page.</p>
)html";

QString editorPage(const char* intro, const char* what)
{
    return QString::fromUtf8(intro) + QString::fromUtf8(kEditorWhen) + QString::fromUtf8(what) +
           QString::fromUtf8(kEditorButtons);
}

QList<HelpPages::Page> buildPages()
{
    QList<HelpPages::Page> pages;
    auto add = [&pages](const char* id, const char* title, const QString& html) {
        pages.append({QString::fromUtf8(id), QString::fromUtf8(title), html});
    };
    auto text = [](const char* html) { return QString::fromUtf8(html); };

    add("contents", "Contents", text(R"html(
<p>Horolux is a small clock that lives on your desktop. Besides the time and the date it
shows how busy your computer is, chimes the hours, reminds you of appointments, starts
programs at set times and can set your computer's clock from a time server.</p>
<p><b>Right-click the clock face</b> to open its menu: everything starts there.</p>
<h3>Using the clock</h3>
<ul>
<li><a href="clock_face">The clock face and its bars</a></li>
<li><a href="menu">The clock's menu</a></li>
<li><a href="moving">Moving, hiding and the tray icon</a></li>
</ul>
<h3>Reminders and scheduled programs</h3>
<ul>
<li><a href="QRemind">Quick Reminder</a></li>
<li><a href="Scheduler">The Scheduler</a></li>
<li><a href="Add_Rem">Adding a reminder</a></li>
<li><a href="Add_Run">Adding a program to run</a></li>
<li><a href="Mod_Rem">Changing a reminder</a></li>
<li><a href="Mod_Run">Changing a program to run</a></li>
<li><a href="reminder_window">The reminder window</a></li>
</ul>
<h3>Settings</h3>
<ul>
<li><a href="settings_Disp">Display</a></li>
<li><a href="settings_Moni">Monitors</a></li>
<li><a href="settings_Soun">Sounds</a></li>
<li><a href="settings_Task">Task Bar</a></li>
<li><a href="settings_Prio">Priority</a></li>
<li><a href="settings_Time">Time</a></li>
<li><a href="autoupdate">Automatic Time Update</a></li>
</ul>
<h3>More</h3>
<ul>
<li><a href="Report">The Performance Report</a></li>
<li><a href="files">Files and permissions</a>: where your settings and schedule are kept, and the right to set the clock</li>
</ul>
)html"));

    add("clock_face", "The clock face and its bars", text(R"html(
<p>The large digits show the hours and minutes; the colon between them blinks once a
second. In the 12-hour form the hour has no leading zero and there is no AM/PM mark; in the
24-hour form the hour always has two digits. You choose the form on the
<a href="settings_Disp">Display</a> page of the settings.</p>
<h3>The date line</h3>
<p>The line under the digits shows today's date. It doubles as a status line: Horolux greets
you there when it starts, and reports there while it sets the clock from a time server (see
<a href="autoupdate">Automatic Time Update</a>). A message stays for about twenty seconds,
then the date returns. At midnight the new date appears at once.</p>
<h3>The four bars</h3>
<p>Right of the digits, four small bars show how your computer is doing: <b>DSK</b> and
<b>CPU</b> on top, <b>MEM</b> and <b>PF</b> below. Each has up to ten segments, five green,
three yellow and two red; the more of them show, the higher the figure. A bar showing only
its label stands at zero.</p>
<table cellpadding="3" width="100%">
<tr><td valign="top" width="32%"><b>DSK</b></td><td>How full the monitored disk is, as a share of its
size. You choose the disk on the <a href="settings_Moni">Monitors</a> page.</td></tr>
<tr><td valign="top" width="32%"><b>CPU</b></td><td>How busy the processor is.</td></tr>
<tr><td valign="top" width="32%"><b>MEM</b></td><td>How much of the memory is in use.</td></tr>
<tr><td valign="top" width="32%"><b>PF</b></td><td>How fast the system is paging, that is reading
memory pages back from disk, compared with the highest rate Horolux has seen. That highest
rate is remembered from one run to the next, so a full PF bar means paging as heavy as the
worst seen so far.</td></tr>
</table>
<p>The bars are brought up to date every second, or as often as the
<a href="settings_Moni">Monitors</a> page says. They are full when Horolux starts, until the
first reading; the PF bar needs two readings to measure a rate, so it moves from the second
one on. The same figures add up in the <a href="Report">Performance Report</a>.</p>
)html"));

    add("menu", "The clock's menu", text(R"html(
<p>Right-click anywhere on the clock face to open its menu:</p>
<table cellpadding="3" width="100%">
<tr><td valign="top" width="32%"><b>Settings</b></td><td>Opens the Settings window, with the pages
<a href="settings_Disp">Display</a>, <a href="settings_Moni">Monitors</a>,
<a href="settings_Soun">Sounds</a>, <a href="settings_Task">Task Bar</a>,
<a href="settings_Prio">Priority</a> and <a href="settings_Time">Time</a>.</td></tr>
<tr><td valign="top" width="32%"><b>Scheduler</b></td><td>Lists your reminders and scheduled programs
and lets you add, change and delete them. See <a href="Scheduler">The Scheduler</a>.</td></tr>
<tr><td valign="top" width="32%"><b>Quick Reminder</b></td><td>Sets a reminder for later today in a few
keystrokes. See <a href="QRemind">Quick Reminder</a>.</td></tr>
<tr><td valign="top" width="32%"><b>Performance Report</b></td><td>Shows how your computer has been doing
since Horolux started. See <a href="Report">The Performance Report</a>.</td></tr>
<tr><td valign="top" width="32%"><b>Stay On Top</b></td><td>Keeps the clock above all other windows
while it is checked. Horolux remembers the choice.</td></tr>
<tr><td valign="top" width="32%"><b>Automatic Time Update</b></td><td>While checked, Horolux sets your
computer's clock from a time server as soon as you are online. See
<a href="autoupdate">Automatic Time Update</a>.</td></tr>
<tr><td valign="top" width="32%"><b>Help</b></td><td>Opens this help.</td></tr>
<tr><td valign="top" width="32%"><b>Connect to ...</b></td><td>Opens the Horolux web site in your web
browser. If no browser can be started you see <i>Could not connect to Web
site</i>.</td></tr>
<tr><td valign="top" width="32%"><b>About Horolux</b></td><td>Shows the version of Horolux.</td></tr>
<tr><td valign="top" width="32%"><b>Close</b></td><td>Ends Horolux (also Alt+F4). The clock's position
and your schedule are saved.</td></tr>
</table>
)html"));

    add("moving", "Moving, hiding and the tray icon", text(R"html(
<h3>Moving the clock</h3>
<p>Drag the clock with the left mouse button, holding it by the digits, the bars or the date
line (the thin frame around them does not respond). Horolux remembers where you leave it and
opens there next time. The clock has no button in the task bar.</p>
<h3>Hiding it for a moment</h3>
<p>A plain left click on the clock, without moving it, hides it so that you can see what is
underneath. It comes back by itself, in front of other windows, after the
<b>Hide Period</b> set on the <a href="settings_Disp">Display</a> page. With the Hide
Period set to <b>Off</b> a click does nothing; with <b>Indefinite</b> the clock stays hidden
until you click the tray icon.</p>
<h3>Keeping it in view</h3>
<p>Check <b>Stay On Top</b> in the <a href="menu">menu</a> to keep the clock above all other
windows.</p>
<h3>The tray icon</h3>
<p>Horolux can show an icon in your panel's system tray (the notification area); switch it
on or off on the <a href="settings_Task">Task Bar</a> page. Rest the mouse pointer on it to
see the time and the date line; click it to hide the clock or bring it back.</p>
<p>While the Hide Period is <b>Indefinite</b> the tray icon is always shown, because it is
then the only way to bring the clock back. If your desktop has no system tray, the icon
cannot appear, so do not choose <b>Indefinite</b> there.</p>
)html"));

    add("reminder_window", "The reminder window", text(R"html(
<p>When a reminder comes due, a window titled <b>Reminder</b> pops up in the middle of the
screen, above your other windows. It shows the time it came up (always in 24-hour form), the
date line of the clock and your reminder text, and Horolux plays the alarm sound chosen on
the <a href="settings_Soun">Sounds</a> page.</p>
<p>Click <b>OK</b> to close it. Reminders do not wait for each other: if several come due
together, each gets its own window, the latest on top. The clock keeps running meanwhile.</p>
<p>Where the desktop shows notifications, each reminder is also sent there, with a
<b>Dismiss</b> button, so it stays in the desktop's list of notifications. <b>Dismiss</b>
closes the window too, and closing the window takes the notification away. A reminder that
comes up again replaces its earlier notification. To have the notification alone, check
<b>Notice only</b> on the <a href="settings_Soun">Sounds</a> page.</p>
<p>A reminder that came due while Horolux was not running shows the time it finally came up,
not the time it was set for. See <a href="Scheduler">The Scheduler</a> for how missed items
are caught up.</p>
)html"));

    add("QRemind", "Quick Reminder", text(R"html(
<p><b>Quick Reminder</b> in the clock's <a href="menu">menu</a> is the fastest way to be
reminded of something later today.</p>
<table cellpadding="3" width="100%">
<tr><td valign="top" width="32%"><b>Reminder time:</b></td><td>Hours (0 to 23) and minutes. Both start
at the current time.</td></tr>
<tr><td valign="top" width="32%"><b>Reminder text:</b></td><td>What the
<a href="reminder_window">reminder window</a> should say.</td></tr>
</table>
<p><b>OK</b> adds a one-shot reminder for today at that time and saves the schedule;
<b>Cancel</b> adds nothing. A time that has already passed is accepted, and the reminder
usually comes up at the next minute. The same reminder at the same time is not added
twice.</p>
<p>The reminder appears in the <a href="Scheduler">Scheduler</a> list, where you can change or
delete it. For reminders on other days, or ones that repeat, use
<a href="Add_Rem">Add</a> in the Scheduler.</p>
)html"));

    add("Scheduler", "The Scheduler", text(R"html(
<p><b>Scheduler</b> in the clock's <a href="menu">menu</a> lists every reminder and every
program that Horolux is to start, in order of time of day and then of date. The columns
are:</p>
<table cellpadding="3" width="100%">
<tr><td valign="top" width="32%"><b>Time</b></td><td>The time of day, for example 09:05.</td></tr>
<tr><td valign="top" width="32%"><b>Date</b></td><td>When the item is next due, for example 01Jan00
(day, month, year).</td></tr>
<tr><td valign="top" width="32%"><b>Type</b></td><td><b>One-shot</b>, <b>Daily</b>, <b>Weekly</b>, or
<b>Each</b> with a day of the week.</td></tr>
<tr><td valign="top" width="32%"><b>Detail</b></td><td><i>Reminder:</i> and the text, or <i>Run:</i>
and the program, its parameters, its start folder and its window state.</td></tr>
</table>
<h3>Buttons</h3>
<table cellpadding="3" width="100%">
<tr><td valign="top" width="32%"><b>Add</b></td><td>Adds an item: see <a href="Add_Rem">Adding a
reminder</a> and <a href="Add_Run">Adding a program to run</a>.</td></tr>
<tr><td valign="top" width="32%"><b>Change</b></td><td>Changes the selected item: see
<a href="Mod_Rem">Changing a reminder</a> and <a href="Mod_Run">Changing a program to
run</a>.</td></tr>
<tr><td valign="top" width="32%"><b>Delete</b></td><td>Deletes the selected item at once, without
asking.</td></tr>
<tr><td valign="top" width="32%"><b>OK</b></td><td>Closes the list and saves the schedule.</td></tr>
<tr><td valign="top" width="32%"><b>Cancel</b></td><td>Closes the list without saving it now. Changes
already made stay in effect and are saved with the next save, at the latest when Horolux
closes.</td></tr>
</table>
<p>While the list is open nothing comes due; anything due meanwhile comes up in the first
minute after you close it.</p>
<h3>How items repeat</h3>
<table cellpadding="3" width="100%">
<tr><td valign="top" width="32%"><b>One-shot</b></td><td>Comes up once, then leaves the list.</td></tr>
<tr><td valign="top" width="32%"><b>Daily</b></td><td>Comes up every day from its date.</td></tr>
<tr><td valign="top" width="32%"><b>Weekly</b></td><td>Comes up on its date and every seven days
after.</td></tr>
<tr><td valign="top" width="32%"><b>Each Sun</b> ... <b>Each Sat</b></td><td>Comes up every week on
that day.</td></tr>
</table>
<h3>Missed items</h3>
<p>Items are not lost when Horolux was not running or the computer was off. A missed item
comes up once Horolux runs again and its time of day has been reached, within the next
minute:</p>
<ul>
<li>a one-shot item comes up once;</li>
<li>a daily item comes up once and is then due again tomorrow;</li>
<li>a weekly item catches up one week at a time, so it can come up more than once;</li>
<li>an item for a day of the week comes up only if today is that day; otherwise it moves on
quietly to its next week.</li>
</ul>
<p>The schedule is kept in a file of its own: see <a href="files">Files and permissions</a>.</p>
)html"));

    add("Add_Rem", "Adding a reminder",
        editorPage(R"html(
<p>The <b>Add Scheduler Item</b> window opens from <b>Add</b> in the
<a href="Scheduler">Scheduler</a>. It starts with the current time, today's date and the
activity <b>Reminder</b>.</p>
)html",
                   kEditorReminder));

    add("Add_Run", "Adding a program to run",
        editorPage(R"html(
<p>The <b>Add Scheduler Item</b> window opens from <b>Add</b> in the
<a href="Scheduler">Scheduler</a>. To have Horolux start a program, set
<b>Activity:</b> to <b>Run program</b>.</p>
)html",
                   kEditorRun));

    add("Mod_Rem", "Changing a reminder",
        editorPage(R"html(
<p>The <b>Modify Scheduler Item</b> window opens from <b>Change</b> in the
<a href="Scheduler">Scheduler</a>, filled in with the selected item: its time, its date in
the calendar, how it repeats and its text. A one-shot item opens with <b>On date:</b>
chosen. When you press OK the changed item replaces the old one and moves to its new place
in the list. You can also turn a reminder into a <a href="Mod_Run">program to run</a> by
changing the activity.</p>
)html",
                   kEditorReminder));

    add("Mod_Run", "Changing a program to run",
        editorPage(R"html(
<p>The <b>Modify Scheduler Item</b> window opens from <b>Change</b> in the
<a href="Scheduler">Scheduler</a>, filled in with the selected item: its time, its date in
the calendar, how it repeats, the program, its parameters, its start folder and its window
state. A one-shot item opens with <b>On date:</b> chosen. When you press OK the changed item
replaces the old one and moves to its new place in the list.</p>
)html",
                   kEditorRun));

    const char* settingsNote = R"html(
<p>The settings take effect when you press <b>OK</b>; <b>Cancel</b> discards your changes.
<b>Help</b> shows the help for the page in front.</p>
)html";

    add("settings_Disp", "Settings: Display", text(R"html(
<p>The <b>Display</b> page of the Settings window (right-click the clock, then
<b>Settings</b>).</p>
<h3>Display Format</h3>
<p><b>12 Hour</b> shows the hour from 1 to 12, without a leading zero and without an AM/PM
mark; <b>24 Hour</b> shows it from 00 to 23. The clock changes at the next tick after you
press OK.</p>
<h3>Hide Period</h3>
<p>How long the clock stays hidden after you click it (see
<a href="moving">Moving, hiding and the tray icon</a>). Move the slider:</p>
<table cellpadding="3" width="100%">
<tr><td valign="top" width="32%"><b>Indefinite</b></td><td>(far left) The clock stays hidden until you
click the tray icon. The <a href="settings_Task">tray icon</a> is then always shown.</td></tr>
<tr><td valign="top" width="32%"><b>Off</b></td><td>A click does not hide the clock.</td></tr>
<tr><td valign="top" width="32%"><b>1 secs</b> to <b>15 secs</b></td><td>The clock comes back after
that many seconds.</td></tr>
</table>
)html") + text(settingsNote));

    add("settings_Moni", "Settings: Monitors", text(R"html(
<p>The <b>Monitors</b> page of the Settings window sets up the four bars of the
<a href="clock_face">clock face</a>.</p>
<h3>Update Interval</h3>
<p>How often, from 1 to 30 seconds, the bars are brought up to date and the figures of the
<a href="Report">Performance Report</a> are collected. With 10 seconds or more between
readings the PF bar can no longer measure paging and stays where it is.</p>
<h3>Disk Monitor</h3>
<p><b>Drive:</b> lists your computer's mounted disks by the folder they appear at, such as
<tt>/</tt> or <tt>/home</tt>. The DSK bar and the report show how full the chosen one
is.</p>
)html") + text(settingsNote));

    add("settings_Soun", "Settings: Sounds", text(R"html(
<p>The <b>Sounds</b> page of the Settings window.</p>
<h3>Hourly Chime:</h3>
<p>What Horolux does on the hour: nothing (<b>Off</b>), a short <b>Beep</b>, or
<b>Play sound:</b> with a sound file of your choice.</p>
<h3>Alarm Sound:</h3>
<p>The same choice for the moment a <a href="reminder_window">reminder</a> comes up.
<b>Notice only</b> shows reminders only as desktop notifications, without their window;
where the desktop has no notifications, the window comes all the same.</p>
<h3>Choosing a sound file</h3>
<p><b>Browse...</b> opens the window <b>Choose a sound file</b>, for WAV, FLAC, Ogg (Vorbis or
Opus) or MP3 files; the chosen file's name then appears under the button. MIDI files are offered
too, but Horolux cannot play them and beeps instead. Choosing a file does not switch on
<b>Play sound:</b> by itself, so select that option too. A file that cannot be played gives
a beep instead.</p>
)html") + text(settingsNote));

    add("settings_Task", "Settings: Task Bar", text(R"html(
<p>The <b>Task Bar</b> page of the Settings window.</p>
<p><b>Show Task Bar Tray Icon</b> puts a small clock icon in your panel's system tray (the
notification area). Resting the mouse pointer on it shows the time and the date line;
clicking it hides the clock or brings it back. See
<a href="moving">Moving, hiding and the tray icon</a>.</p>
<h3>Why the icon sometimes stays on</h3>
<p>If the <a href="settings_Disp">Hide Period</a> is set to <b>Indefinite</b>, a click hides
the clock until you click the tray icon, which is then the only way to get the clock back.
So if you switch the icon off while the Hide Period is Indefinite, Horolux keeps it on and
tells you: <i>Task Bar icon enabled because hide period was set to indefinite.</i> To do
without the icon, choose another Hide Period first.</p>
<p>If your desktop has no system tray the icon cannot appear at all; do not use an
Indefinite Hide Period there.</p>
)html") + text(settingsNote));

    add("settings_Prio", "Settings: Priority", text(R"html(
<p>The <b>Priority</b> page of the Settings window.</p>
<h3>Run at Priority Level</h3>
<table cellpadding="3" width="100%">
<tr><td valign="top" width="32%"><b>Idle</b></td><td>Horolux only uses the processor when nothing else
wants it, so it never slows your work down. This is the usual choice. On a very busy
computer the clock and the bars may then lag a little.</td></tr>
<tr><td valign="top" width="32%"><b>Normal</b></td><td>Horolux gets its turn like other
programs.</td></tr>
</table>
<p>The change takes effect as soon as you press OK.</p>
)html") + text(settingsNote));

    add("settings_Time", "Settings: Time", text(R"html(
<p>The <b>Time</b> page of the Settings window sets your computer's clock. Its buttons act
at once: <b>OK</b> does not repeat what they did and <b>Cancel</b> does not undo it.</p>
<h3>Set system clock (manual)</h3>
<p>Type the hours (<b>h</b>, 0 to 23), minutes (<b>m</b>) and seconds (<b>s</b>) and press
<b>Set</b>. Only the time of day changes; the date stays today's. The fields start at the
time the Settings window was opened and do not follow the clock, so adjust them before you
press Set.</p>
<p>When Horolux itself may not set the clock, it asks the system's time service, and your
desktop may ask for your password first; the clock keeps running meanwhile. If the change is
refused you see <i>You do not have the privilege needed to set the system time</i>, and the
date line says why where the system told, for example that automatic time synchronization is
on (switch it off in your desktop's date and time settings to set the clock by hand). See
<a href="files">Files and permissions</a>.</p>
<h3>Set system clock (Internet)</h3>
<p><b>Configure</b> opens the <a href="autoupdate">Automatic Time Update</a> window, where you
choose the time server. <b>Set</b> asks that server for the time straight away and corrects
the clock; the progress shows on the clock's date line.</p>
)html") + text(settingsNote));

    add("autoupdate", "Automatic Time Update", text(R"html(
<p>Horolux can set your computer's clock from a time server on the Internet, either when you
press <b>Set</b> under <b>Set system clock (Internet)</b> on the
<a href="settings_Time">Time</a> page, or by itself as soon as you go online.</p>
<h3>The Automatic Time Update window</h3>
<table cellpadding="3" width="100%">
<tr><td valign="top" width="32%"><b>Window title:</b></td><td>The exact title of a window that is open
only while you are connected, such as the window of your dial-up connection. The default is
<i>Connected to Internet</i>.</td></tr>
<tr><td valign="top" width="32%"><b>Time server:</b></td><td>Pick a server from the list, written as
country, colon and server name, or type a server name or address of your own. Only the
server name is kept.</td></tr>
</table>
<p>Horolux asks the server with the Time Protocol (RFC 868, TCP port 37). Not every time
server still answers it, so choose one that does. <b>OK</b> keeps your choices at once, for the
next check and the next update; nothing is checked, and an empty title or server turns the
automatic update off. <b>Cancel</b> leaves both as they were.</p>
<h3>The servers in the list</h3>
<p>Only two operators still say that their servers answer the Time Protocol: NIST, the
national time service of the USA, and PTB, Germany's national metrology institute in
Braunschweig. Most other national time services offer the newer NTP only, and their servers
would never answer Horolux. So every country in the list keeps its place but is served by the
nearest of the two: the European entries by PTB, Australia and Japan by NIST's servers in
Colorado. All fourteen entries are documented to answer.</p>
<table cellpadding="3" width="100%">
<tr><td valign="top" width="32%"><b>Australia</b></td><td>time-b-wwv.nist.gov (NIST, Fort Collins)</td></tr>
<tr><td valign="top" width="32%"><b>France</b></td><td>ptbtime1.ptb.de and ptbtime2.ptb.de (PTB)</td></tr>
<tr><td valign="top" width="32%"><b>Germany</b></td><td>ptbtime1.ptb.de (PTB)</td></tr>
<tr><td valign="top" width="32%"><b>Ireland</b></td><td>ptbtime2.ptb.de (PTB)</td></tr>
<tr><td valign="top" width="32%"><b>Japan</b></td><td>time-b-b.nist.gov (NIST, Boulder)</td></tr>
<tr><td valign="top" width="32%"><b>UK</b></td><td>ptbtime1.ptb.de (PTB); this is the server Horolux
uses until you choose another</td></tr>
<tr><td valign="top" width="32%"><b>USA</b></td><td>time.nist.gov (all of NIST's servers in turn),
time-a-g.nist.gov (Gaithersburg), time-a-wwv.nist.gov (Fort Collins), time-a-b.nist.gov
(Boulder) and utcnist.colorado.edu (University of Colorado, Boulder)</td></tr>
<tr><td valign="top" width="32%"><b>Sweden</b></td><td>ptbtime2.ptb.de (PTB)</td></tr>
<tr><td valign="top" width="32%"><b>Switzerland</b></td><td>ptbtime1.ptb.de (PTB)</td></tr>
</table>
<p>A server you type yourself must answer on TCP port 37. A server that offers NTP only
never answers there, and the clock is not set.</p>
<h3>Setting the clock by itself</h3>
<p>While <b>Automatic Time Update</b> is checked in the clock's <a href="menu">menu</a>,
Horolux looks once a minute for a window with the title above. As long as one is open, it
tries to set the clock every minute until the server has answered once. Then it stops
trying until Horolux is started again or you click the menu item off and on again (the check
mark stays on meanwhile).</p>
<p>Only the time of day is corrected; the date changes only when the correction crosses
midnight.</p>
<h3>Messages on the date line</h3>
<table cellpadding="3" width="100%">
<tr><td valign="top" width="32%"><i>Updating system time</i>, <i>Looking up host ...</i>,
<i>Connecting to ...</i>, <i>Connected to ...</i></td><td>Progress.</td></tr>
<tr><td valign="top" width="32%"><i>Clock was 5 seconds slow</i> (or <i>fast</i>)</td><td>The clock has
been corrected by that much.</td></tr>
<tr><td valign="top" width="32%"><i>Clock is 5 seconds slow</i> (or <i>fast</i>)</td><td>The server
answered, but your account may not set the clock (see <a href="files">Files and permissions</a>).</td></tr>
<tr><td valign="top" width="32%"><i>Clock is correct</i></td><td>Nothing needed changing.</td></tr>
<tr><td valign="top" width="32%"><i>Connection timed out</i>, <i>Unable to connect to Internet</i>,
<i>Unable to create socket</i></td><td>The server could not be reached. With Automatic Time
Update on, Horolux tries again a minute later.</td></tr>
</table>
)html"));

    add("Report", "The Performance Report", text(R"html(
<p><b>Performance Report</b> in the clock's <a href="menu">menu</a> opens the window
<b>System Performance Status</b>. It sums up the readings behind the
<a href="clock_face">bars</a> since Horolux started; the totals start again from zero every
time Horolux starts. The window is a snapshot: it does not change while it is open.</p>
<table cellpadding="3" width="100%">
<tr><td valign="top" width="32%"><b>Monitor has been running for:</b></td><td>How long Horolux has been
taking readings.</td></tr>
<tr><td valign="top" width="32%"><b>Performance has been CPU limited for:</b></td><td>How long the
processor was 96% busy or more.</td></tr>
<tr><td valign="top" width="32%"><b>Performance has been memory limited for:</b></td><td>How long 85% of
the memory or more was in use.</td></tr>
<tr><td valign="top" width="32%"><b>Time spent swapping to / from disk:</b></td><td>An estimate from the
paging rate: a second of paging at the highest rate seen counts as one second, lighter
paging as part of one.</td></tr>
<tr><td valign="top" width="32%"><b>Hard disk space usage:</b></td><td>How full the monitored disk was
at the last reading.</td></tr>
</table>
<p>Times read as hours, minutes and seconds, for example 0h10m00s. The figure in brackets,
such as (25%), is that time's share of the running time.</p>
)html"));

    add("files", "Files and permissions", text(R"html(
<h3>Settings</h3>
<p>Your settings, the clock's position and the menu's check marks are kept in
<tt>~/.config/horolux/settings.reg</tt>, or under <tt>$XDG_CONFIG_HOME</tt> when that is
set. Horolux writes them when you press OK in a settings window and when it closes. To go
back to the defaults, close Horolux and delete the file.</p>
<p>You may edit the file by hand while Horolux is closed: it changes only the line of the value
it writes and keeps your comments and every other line as they are. A file that does not
begin with the line <tt>REGEDIT4</tt>, or is not text, is not taken for a settings file: Horolux
leaves it alone, runs with its defaults, writes no settings and says &quot;Settings file not
understood&quot; on the date line when it starts.</p>
<h3>Schedule</h3>
<p>Your reminders and scheduled programs are kept in
<tt>~/.local/share/horolux/horolux.dat</tt>, or under <tt>$XDG_DATA_HOME</tt> when that is
set, one item per line. Horolux saves the file after an item comes up, after a
<a href="QRemind">Quick Reminder</a>, when you press OK in the
<a href="Scheduler">Scheduler</a> and when it closes. It replaces the file whole, so an
interrupted save leaves the old file intact.</p>
<p>Lines that Horolux cannot read are set aside in <tt>horolux.dat.rejected</tt> in the same
folder, so that nothing you wrote is lost; you can look at them there and add the items
again. A repeating item goes there too, unchanged, once its next date would fall after
13 October 2173, the last date the file can hold.</p>
<h3>Setting the clock</h3>
<p>Changing the computer's clock needs the right to set the system time (on Linux the
capability <tt>CAP_SYS_TIME</tt>), which ordinary accounts do not have. Without it Horolux
asks the system's time service (<tt>timedated</tt>), which lets administrators set the clock
after typing their password. When that is refused too, Horolux tells you so and leaves the
clock alone. Most Linux systems keep their clock right by themselves, and then refuse a
change by hand while automatic synchronization is on; ask your administrator if yours does
not.</p>
)html"));

    return pages;
}

} // namespace

const QList<HelpPages::Page>& HelpPages::all()
{
    static const QList<Page> pages = buildPages();
    return pages;
}

const HelpPages::Page* HelpPages::find(const QString& id)
{
    for (const Page& page : all()) {
        if (page.id == id)
            return &page;
    }
    return nullptr;
}

QStringList HelpPages::ids()
{
    QStringList result;
    for (const Page& page : all())
        result.append(page.id);
    return result;
}

QStringList HelpPages::linksOf(const QString& html)
{
    static const QRegularExpression href(QStringLiteral(R"re(href\s*=\s*"([^"]*)")re"),
                                         QRegularExpression::CaseInsensitiveOption);
    QStringList result;
    auto it = href.globalMatch(html);
    while (it.hasNext())
        result.append(it.next().captured(1));
    return result;
}
