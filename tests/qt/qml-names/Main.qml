// SPDX-License-Identifier: MIT
import QtQml
QtObject {}
