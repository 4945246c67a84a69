#pragma once

#include <QCoreApplication>
#include <QList>
#include <QString>

// The three grid layouts the board's command bar offers.
struct LayoutPreset {
    Q_DECLARE_TR_FUNCTIONS(LayoutPreset)

public:
    enum class Kind { Grid, Dense, List };
    Kind kind;
    int rows;
    int columns;

    static QList<LayoutPreset> all();
    QString label() const;
    QString symbol() const;
    // List is any one-column board, whatever its rows.
    bool isActive(int gridRows, int gridColumns) const;
};
