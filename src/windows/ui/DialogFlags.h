#pragma once

#include <Qt>

// Fixed dialogs: a caption and a close box, no minimise or maximise buttons.
inline constexpr Qt::WindowFlags FixedDialogFlags =
    Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
    Qt::MSWindowsFixedSizeDialogHint;
// Fixed dialogs that end only through their own buttons.
inline constexpr Qt::WindowFlags NoCloseDialogFlags =
    Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::MSWindowsFixedSizeDialogHint;
