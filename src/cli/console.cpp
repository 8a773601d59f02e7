#include "console.h"

#include <QByteArray>

using namespace Qt::StringLiterals;

void Console::print(const QString &text)
{
    printBytes(text.toUtf8());
}

void Console::printBytes(const QByteArray &bytes)
{
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), m_out);
}

void Console::error(const QString &problem)
{
    const QByteArray line = (u"leafwright-cli: "_s + problem + u'\n').toUtf8();
    std::fwrite(line.constData(), 1, size_t(line.size()), m_err);
}

void Console::warning(const QString &problem)
{
    error(u"warning: "_s + problem);
}
