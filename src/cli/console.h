#pragma once

#include <QString>

#include <cstdio>

// The batch tool's two output streams, UTF-8 encoded.
class Console
{
public:
    Console(std::FILE *out, std::FILE *err)
        : m_out(out)
        , m_err(err)
    {}

    // False when the output could not be written (a full disk, a closed pipe).
    [[nodiscard]] bool print(const QString &text);
    [[nodiscard]] bool printBytes(const QByteArray &bytes);

    // One line on the error stream, "leafwright-cli: " and the problem.
    void error(const QString &problem);
    void warning(const QString &problem);
    // One line on the error stream as it stands.
    void note(const QString &line);

    // Whether standard output goes to a terminal, where a line may be drawn over.
    bool outputIsTerminal() const;
    // Standard output's width in characters on a terminal.
    int outputWidth() const;

private:
    std::FILE *m_out;
    std::FILE *m_err;
};
