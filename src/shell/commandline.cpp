#include "commandline.h"

#include <QFile>

namespace CommandLine
{

QStringList arguments(int argc, const char *const *argv)
{
    QStringList list;
    for (int i = 1; i < argc; ++i)
        list.append(QFile::decodeName(argv[i]));
    return list;
}

std::optional<QString> optionValue(const QStringList &arguments, const QString &option)
{
    const qsizetype index = arguments.indexOf(option);
    if (index < 0 || index + 1 >= arguments.size())
        return std::nullopt;
    return arguments.at(index + 1);
}

} // namespace CommandLine
