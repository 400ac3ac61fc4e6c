// SPDX-License-Identifier: MIT
import QtQml
import Sketch

// What the main window takes from the settings.
QtObject {
    required property AppSettings settings
    readonly property string background: settings.theme === AppSettings.Dark ? "#303030" : "#ffffff"
}
