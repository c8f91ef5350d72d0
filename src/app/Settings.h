#pragma once

#include "app/SharedState.h"
#include "app/WindowGeometry.h"
#include "platform/FontDialog.h"

#include <QString>

namespace corvanta {

class MainForm;
class Store;
class Ui;

// Reads the settings file and applies the main window's settings, in the stored order. A value
// that cannot be converted stops the reading there; what follows keeps its initial value.
void LoadSettings(MainForm &form);

// A stored geometry put on the window's screens: a position or size that lies outside them gives
// way to the default, then the window is fitted to the screen it lands on.
WindowGeometry placedOnScreen(const MainForm &form, WindowGeometry g);

// Asks for the user's name, stores it under User/Name and sets UserName.
void PromptUserName(MainForm &form);

// Writes one setting into the settings file. Every setting is written through here, so that a
// failure is never passed over: the first in a run shows " Settings Not Saved" with the reason.
// Returns whether the setting was stored.
bool writeSetting(Store &store, SharedState &state, Ui &ui, const QString &section, const QString &key,
                  const QString &value);
QString settingsNotSavedTitle();
QString settingsNotSavedText(const QString &path, const QString &reason);

// A list's Sort key as the settings file spells it: "none", "ascend" or "descend". An empty value
// reads as None; any other text as Unknown, which is never written.
SortOrder sortOrderFromSetting(const QString &value);
QString sortOrderSetting(SortOrder order);

// The font the three lists start with and return to on a reset: "MS Sans Serif", 10 points.
FontSpec defaultListFont();

// The prompt text of the name box.
QString userNamePrompt();

} // namespace corvanta
