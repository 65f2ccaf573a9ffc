#pragma once

#include <QString>
#include <QStringList>

class HelpWindow;

// The built-in help: one page per topic identifier, shown in the help window.
namespace HelpSystem {

// Opens the help window at its contents (the list of topics).
void showFinder();
// Opens the help window at the topic with this identifier, e.g. "Scheduler" or "Add_Rem";
// an unknown identifier shows the contents. Returns false when the identifier is unknown.
bool showTopic(const QString& id);
// Identifiers of every topic the help holds.
QStringList topicIds();

// The one help window, or nullptr before the help was first opened or after closeWindow().
HelpWindow* window();
// Destroys the help window (at shutdown; the next show creates a new one).
void closeWindow();

} // namespace HelpSystem
