#pragma once

#include <QString>
#include <QStringList>

// The built-in help: one page per topic identifier, shown in the help window.
namespace HelpSystem {

// Opens the help window at its contents (the list of topics).
void showFinder();
// Opens the help window at the topic with this identifier, e.g. "Scheduler" or "Add_Rem";
// an unknown identifier shows the contents. Returns false when the identifier is unknown.
bool showTopic(const QString& id);
// Identifiers of every topic the help holds.
QStringList topicIds();

} // namespace HelpSystem
