// The program as people install it: the Debian package and what it holds, the manual pages and
// the shell completion, which must not drift from the programs' own help, and the version.

#include "testfiles.h"

#include "book/bookfile.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

struct Finished
{
    int status = -1;
    QString out, err;
};

Finished run(const QString &program, const QStringList &arguments, const QString &folder = {})
{
    QProcess process;
    if (!folder.isEmpty())
        process.setWorkingDirectory(folder);
    process.start(program, arguments);
    if (!process.waitForFinished(120000))
        return {};
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

const QString Cli = QString::fromUtf8(LEAFWRIGHT_CLI);
const QStringList Commands = {u"make"_s,     u"show"_s,    u"text"_s,  u"check"_s,
                              u"chapters"_s, u"convert"_s, u"export"_s};

// The options a text names: "--codepage", "-o", ...
QSet<QString> optionsIn(const QString &text)
{
    QSet<QString> options;
    static const QRegularExpression option(u"(?<![\\w-])(--?[a-z][a-z-]*)"_s);
    for (const auto &match : option.globalMatch(text))
        options.insert(match.captured(1));
    options.remove(u"--help"_s);
    options.remove(u"-h"_s);
    options.remove(u"--version"_s);
    return options;
}

// A man page's text as troff writes its options: "\-\-codepage" is "--codepage".
QString manText(const QString &page)
{
    return QString::fromUtf8(readBytes(QString::fromUtf8(LEAFWRIGHT_MAN_DIR) + u'/' + page)
                                 .replace("\\-", "-")
                                 .replace("\\fI", "")
                                 .replace("\\fR", "")
                                 .replace("\\fB", ""));
}

// One command's part of leafwright-cli(1): from its ".SS" line to the next.
QString manSectionOf(const QString &page, const QString &command)
{
    const qsizetype start = page.indexOf(u".SS "_s + command + u' ');
    if (start < 0)
        return {};
    const qsizetype end = page.indexOf(u"\n.S"_s, start + 1);
    return page.mid(start, end < 0 ? -1 : end - start);
}

// Every command prints its own usage and options, and the manual page lists the same options
// under that command; the bash completion offers them too.
TEST(Package, HelpManualAndCompletionNameTheSameOptions)
{
    const QString page = manText(u"leafwright-cli.1"_s);
    ASSERT_FALSE(page.isEmpty());
    const QString completion = QString::fromUtf8(
        readBytes(QString::fromUtf8(LEAFWRIGHT_SOURCE_DIR) + u"/data/completion/leafwright-cli"_s));
    for (const QString &command : Commands) {
        SCOPED_TRACE(command.toStdString());
        const Finished help = run(Cli, {command, u"--help"_s});
        EXPECT_EQ(help.status, 0);
        EXPECT_TRUE(help.out.startsWith(u"Usage: leafwright-cli "_s + command));
        EXPECT_EQ(run(Cli, {u"help"_s, command}).out, help.out);
        // The synopsis and the description name the command's options; the notes below them
        // name none.
        const QString synopsis = help.out.section(u"\n\n"_s, 0, 1);
        const QSet<QString> options = optionsIn(synopsis);
        EXPECT_FALSE(options.isEmpty());
        EXPECT_EQ(optionsIn(manSectionOf(page, command)), options);

        const qsizetype caseAt = completion.indexOf(QRegularExpression(
            u"\\n\\s+([a-z| ]*\\b)"_s + command + u"\\b[a-z| ]*\\) options=\"([^\"]*)\""_s));
        ASSERT_GE(caseAt, 0);
        const QString listed = completion.mid(caseAt).section(u'"', 1, 1);
        EXPECT_EQ(optionsIn(listed), options);
    }
}

// Tab after an option offers its values; after a command, its options.
TEST(Package, BashCompletesCommandsOptionsAndValues)
{
    const QString bashCompletion = u"/usr/share/bash-completion/bash_completion"_s;
    if (!QFile::exists(bashCompletion))
        GTEST_SKIP() << "bash-completion is not installed";
    const std::pair<QString, QString> cases[] = {
        {u"leafwright-cli ch"_s, u"chapters check"_s},
        {u"leafwright-cli make --codepage 125"_s,
         u"1250 1251 1252 1253 1254 1255 1256 1257 1258"_s},
        {u"leafwright-cli convert --sc"_s, u"--scan"_s},
        {u"leafwright-cli make --scan "_s, u"0 1 2 3 4 5 6"_s},
        {u"leafwright-cli show --"_s, u"--codepage --help --json"_s},
    };
    for (const auto &[line, offered] : cases) {
        const QString script =
            u"source %1; source %2/data/completion/leafwright-cli; COMP_LINE='%3'; "
            "read -ra COMP_WORDS <<< \"$COMP_LINE\"; [[ $COMP_LINE == *' ' ]] && "
            "COMP_WORDS+=(''); COMP_CWORD=$((${#COMP_WORDS[@]} - 1)); COMP_POINT=${#COMP_LINE}; "
            "_leafwright_cli; printf '%s\\n' \"${COMPREPLY[@]}\" | sort | paste -sd ' '"_s.arg(
                bashCompletion, QString::fromUtf8(LEAFWRIGHT_SOURCE_DIR), line);
        EXPECT_EQ(run(u"bash"_s, {u"-c"_s, script}).out.trimmed(), offered) << line.toStdString();
    }
}

// Both programs tell their version, the project's, as the About box does.
TEST(Package, BothProgramsTellTheirVersion)
{
    const QString version = QString::fromUtf8(LEAFWRIGHT_VERSION);
    EXPECT_EQ(run(Cli, {u"--version"_s}).out, u"leafwright-cli "_s + version + u'\n');
    const Finished window = run(QString::fromUtf8(LEAFWRIGHT_WINDOW), {u"--version"_s});
    EXPECT_EQ(window.status, 0);
    EXPECT_EQ(window.out, u"leafwright "_s + version + u'\n');
    const Finished help = run(QString::fromUtf8(LEAFWRIGHT_WINDOW), {u"--help"_s});
    EXPECT_TRUE(help.out.startsWith(u"Usage: leafwright [BOOK]"_s)) << help.out.toStdString();
    EXPECT_TRUE(manText(u"leafwright.1"_s).contains(u"Leafwright "_s + version));
}

// The package holds both programs and everything a desktop expects, each valid as its checker
// sees it, and its leafwright-cli makes a book.
TEST(Package, TheDebianPackageHoldsAWorkingProgram)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the normal build makes the package people install";
#endif
    const QString cpack = QStandardPaths::findExecutable(u"cpack"_s);
    const QString dpkgDeb = QStandardPaths::findExecutable(u"dpkg-deb"_s);
    if (cpack.isEmpty() || dpkgDeb.isEmpty())
        GTEST_SKIP() << "cpack or dpkg-deb is not installed";
    QTemporaryDir dir;
    const Finished made =
        run(cpack, {u"-G"_s, u"DEB"_s, u"--config"_s,
                    QString::fromUtf8(LEAFWRIGHT_BUILD_DIR) + u"/CPackConfig.cmake"_s, u"-B"_s,
                    dir.path()});
    ASSERT_EQ(made.status, 0) << made.out.toStdString() << made.err.toStdString();
    const QStringList packages = QDir(dir.path()).entryList({u"*.deb"_s});
    ASSERT_EQ(packages.size(), 1);
    const QString package = dir.filePath(packages.first());

    const QString root = dir.filePath(u"root"_s);
    ASSERT_EQ(run(dpkgDeb, {u"-x"_s, package, root}).status, 0);
    for (const QString &file :
         {u"usr/bin/leafwright"_s, u"usr/bin/leafwright-cli"_s,
          u"usr/share/applications/leafwright.desktop"_s,
          u"usr/share/mime/packages/leafwright.xml"_s,
          u"usr/share/icons/hicolor/48x48/apps/leafwright.png"_s,
          u"usr/share/icons/hicolor/256x256/apps/leafwright.png"_s,
          u"usr/share/icons/hicolor/scalable/apps/leafwright.svg"_s,
          u"usr/share/metainfo/io.github.leafwright.Leafwright.metainfo.xml"_s,
          u"usr/share/man/man1/leafwright.1.gz"_s, u"usr/share/man/man1/leafwright-cli.1.gz"_s,
          u"usr/share/bash-completion/completions/leafwright-cli"_s,
          u"usr/share/doc/leafwright/copyright"_s, u"usr/share/doc/leafwright/changelog.gz"_s}) {
        EXPECT_TRUE(QFile::exists(root + u'/' + file)) << file.toStdString();
    }
    const QString control = run(dpkgDeb, {u"-I"_s, package}).out;
    EXPECT_TRUE(control.contains(u"Depends: "_s) && control.contains(u"libqt6widgets6"_s))
        << control.toStdString();

    const std::pair<QString, QStringList> checks[] = {
        {u"desktop-file-validate"_s, {root + u"/usr/share/applications/leafwright.desktop"_s}},
        {u"appstreamcli"_s,
         {u"validate"_s, u"--no-net"_s,
          root + u"/usr/share/metainfo/io.github.leafwright.Leafwright.metainfo.xml"_s}},
        {u"lintian"_s, {u"--fail-on"_s, u"error"_s, package}},
    };
    for (const auto &[checker, arguments] : checks) {
        const QString program = QStandardPaths::findExecutable(checker);
        if (program.isEmpty())
            continue;
        const Finished checked = run(program, arguments);
        EXPECT_EQ(checked.status, 0) << checker.toStdString() << ": " << checked.out.toStdString()
                                     << checked.err.toStdString();
    }

    if (corpusBooks().isEmpty())
        return;
    const Finished book =
        run(root + u"/usr/bin/leafwright-cli"_s,
            {u"make"_s, dir.filePath(u"book"_s), u"--import"_s, corpusBooks().first(), u"--clean"_s,
             u"all"_s, u"--find-chapters"_s});
    EXPECT_EQ(book.status, 0) << book.err.toStdString();
    const Result<Book> made_book = LoadBook(dir.filePath(u"book.vlm"_s));
    ASSERT_TRUE(made_book);
    EXPECT_GT(made_book.value().chapters.size(), 0);
}

} // namespace
