#pragma once

#include <QString>

// Finds the icon of an installed application by its bundle id.
class ApplicationIconLookup
{
public:
    virtual ~ApplicationIconLookup() = default;

    // The icon an installed application with this id declares: an icon-theme name or an
    // absolute file path. Empty when no such application is installed.
    virtual QString iconName(const QString &bundleID) const = 0;
};
