#include "layoutpreset.h"

QList<LayoutPreset> LayoutPreset::all()
{
    return {{Kind::Grid, 3, 3}, {Kind::Dense, 4, 4}, {Kind::List, 6, 1}};
}

QString LayoutPreset::label() const
{
    switch (kind) {
    case Kind::Grid:
        return tr("Grid");
    case Kind::Dense:
        return tr("Dense");
    case Kind::List:
        break;
    }
    return tr("List");
}

QString LayoutPreset::symbol() const
{
    switch (kind) {
    case Kind::Grid:
        return QStringLiteral("square.grid.2x2");
    case Kind::Dense:
        return QStringLiteral("square.grid.3x3");
    case Kind::List:
        break;
    }
    return QStringLiteral("rectangle.grid.1x2");
}

bool LayoutPreset::isActive(int gridRows, int gridColumns) const
{
    if (kind == Kind::List)
        return gridColumns == 1;
    return gridRows == rows && gridColumns == columns;
}
