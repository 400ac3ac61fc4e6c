import QtQml
QtObject {}
