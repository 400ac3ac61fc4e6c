// Parsed with the flags of src/widget.cpp in compile_commands.json, which
// make DARK 7, and EXTRA from the command line.
#pragma once
#include <QObject>

class Widget : public QObject
{
    Q_OBJECT
public:
    enum class Mode { Light = LIGHT, Dark = DARK, Extra = EXTRA };
    Q_ENUM(Mode)
};
