#pragma once

#include <QString>

#include <utility>
#include <variant>

// A problem with one file, told the way a user can act on it: which file, and what is wrong.
struct FileError
{
    // A problem is one line. It may quote a name from inside a damaged file, which can hold any
    // character; a line break there would split the message in a log or a dialog, so control
    // characters in it read as U+FFFD.
    FileError(QString path, QString problem);

    QString path;
    QString problem;

    // "PATH: PROBLEM", the form of every file message of the program.
    QString message() const;
};

// Either the value of a successful operation or the FileError that stopped it. Operations that
// read or write files return one of these instead of throwing, so that no half-done result can
// reach the document.
template<typename T>
class Result
{
public:
    Result(T value)
        : m_state(std::in_place_index<0>, std::move(value))
    {}
    Result(FileError error)
        : m_state(std::in_place_index<1>, std::move(error))
    {}

    bool ok() const { return m_state.index() == 0; }
    explicit operator bool() const { return ok(); }

    const T &value() const & { return std::get<0>(m_state); }
    T value() && { return std::get<0>(std::move(m_state)); }
    const FileError &error() const { return std::get<1>(m_state); }

private:
    std::variant<T, FileError> m_state;
};
