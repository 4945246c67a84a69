#pragma once

#include "cardsamples.h"
#include "statefixture.h"
#include "store/storefile.h"
#include "views/board/mainboardview.h"

#include <QDir>
#include <QImage>
#include <memory>

// A board over a stored history, made before the state reads it.
class BoardFixture : public StateFixture
{
protected:
    // `count` text clippings "Clipping 0" … newest first, then the state.
    ClipboardManagerState &makeBoard(int count, const QList<ClippingItem> &extra = {})
    {
        QList<ClippingItem> items = extra;
        for (int i = 0; i < count; ++i)
            items.append(textClipping(QStringLiteral("Clipping %1").arg(i)));
        StoreFile(m_directory.path()).write(items, {});
        return makeState();
    }

    MainBoardView &makeView(QSize size = QSize(960, 600))
    {
        m_view = std::make_unique<MainBoardView>(state());
        m_view->resize(size);
        m_view->show();
        return *m_view;
    }

    static QString pictureDirectory()
    {
        const QString dir = QStringLiteral(BOARD_PICTURE_DIR);
        QDir().mkpath(dir);
        return dir;
    }

    std::unique_ptr<MainBoardView> m_view;
};
