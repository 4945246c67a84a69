#pragma once

#include <QtGlobal>

// The system clipboard as the capture and restore steps see it.
class Pasteboard
{
public:
    virtual ~Pasteboard() = default;

    // Moves whenever any program, this one included, replaces the contents.
    virtual qint64 changeCount() const = 0;
};
