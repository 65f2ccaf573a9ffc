#include "ui/HelpSystem.h"

#include <QStringList>

namespace HelpSystem {

void showFinder() {}
bool showTopic(const QString&) { return false; }
QStringList topicIds() { return {}; }

} // namespace HelpSystem
