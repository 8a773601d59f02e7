#include "console.h"

#include <QByteArray>

#include <sys/ioctl.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

bool Console::print(const QString &text)
{
    return printBytes(text.toUtf8());
}

bool Console::printBytes(const QByteArray &bytes)
{
    const size_t written = std::fwrite(bytes.constData(), 1, size_t(bytes.size()), m_out);
    return written == size_t(bytes.size()) && std::fflush(m_out) == 0;
}

void Console::error(const QString &problem)
{
    note(u"leafwright-cli: "_s + problem);
}

void Console::note(const QString &line)
{
    const QByteArray bytes = (line + u'\n').toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), m_err);
}

void Console::warning(const QString &problem)
{
    error(u"warning: "_s + problem);
}

bool Console::outputIsTerminal() const
{
    return isatty(fileno(m_out)) == 1;
}

int Console::outputWidth() const
{
    winsize size{};
    constexpr int Usual = 80;
    if (ioctl(fileno(m_out), TIOCGWINSZ, &size) != 0 || size.ws_col == 0)
        return Usual;
    return size.ws_col;
}
