// Writes the manual page at build time: the page's text with the options the program knows.
#include "shell/commandline.h"
#include "shell/manualpage.h"

#include <QFile>
#include <QSaveFile>
#include <cstdio>

int main(int argc, char *argv[])
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s PAGE OUTPUT\n", argv[0]);
        return 2;
    }
    QFile page(QFile::decodeName(argv[1]));
    if (!page.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "%s: %s\n", argv[1], qPrintable(page.errorString()));
        return 1;
    }
    QSaveFile output(QFile::decodeName(argv[2]));
    if (!output.open(QIODevice::WriteOnly) ||
        output.write(ManualPage::render(QString::fromUtf8(page.readAll()),
                                        CommandLine::optionTable(), CommandLine::exitStatusTable())
                         .toUtf8()) < 0 ||
        !output.commit()) {
        std::fprintf(stderr, "%s: %s\n", argv[2], qPrintable(output.errorString()));
        return 1;
    }
    return 0;
}
