#include "settings.h"

#include <QByteArray>
#include <QEvent>
#include <QFileInfo>
#include <QSettings>
#include <QWidget>

using namespace Qt::StringLiterals;

namespace {

QSettings &settings()
{
    static QSettings store(u"Leafwright"_s, u"Leafwright"_s);
    return store;
}

QString placeKey(const QWidget *window)
{
    return u"windows/%1"_s.arg(window->objectName());
}

void storeRecent(QStringList books)
{
    while (books.size() > MostRecentBooks)
        books.removeLast();
    settings().setValue(u"recentBooks"_s, books);
}

} // namespace

namespace {

class PlaceKeeper final : public QObject
{
public:
    explicit PlaceKeeper(QWidget *window)
        : QObject(window)
    {
        window->installEventFilter(this);
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Hide)
            rememberWindowPlace(static_cast<QWidget *>(watched));
        return false;
    }
};

} // namespace

void keepWindowPlace(QWidget *window)
{
    static const char *const Kept = "leafwrightPlaceKept";
    if (window->property(Kept).toBool())
        return;
    window->setProperty(Kept, true);
    restoreWindowPlace(window);
    new PlaceKeeper(window);
}

void restoreWindowPlace(QWidget *window)
{
    // Qt moves a place that no screen shows back onto one; bytes that are no place are ignored.
    const QByteArray place = settings().value(placeKey(window)).toByteArray();
    if (!place.isEmpty())
        window->restoreGeometry(place);
}

void rememberWindowPlace(const QWidget *window)
{
    settings().setValue(placeKey(window), window->saveGeometry());
}

QString lastChosenFile()
{
    return settings().value(u"lastChosenFile"_s).toString();
}

void rememberChosenFile(const QString &path)
{
    settings().setValue(u"lastChosenFile"_s, path);
}

QStringList recentBooks()
{
    QStringList books = settings().value(u"recentBooks"_s).toStringList();
    books.removeAll(QString());
    while (books.size() > MostRecentBooks)
        books.removeLast();
    return books;
}

void rememberRecentBook(const QString &path)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    QStringList books = recentBooks();
    books.removeAll(absolute);
    books.prepend(absolute);
    storeRecent(books);
}

void forgetRecentBook(const QString &path)
{
    QStringList books = recentBooks();
    books.removeAll(path);
    storeRecent(books);
}

void clearRecentBooks()
{
    storeRecent({});
}
