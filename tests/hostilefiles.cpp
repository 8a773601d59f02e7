#include "hostilefiles.h"

#include "epubfiles.h"
#include "formatfiles.h"
#include "pdffiles.h"
#include "testfiles.h"

#include <QRandomGenerator>
#include <QtEndian>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

using Attack = std::function<QByteArray(const QByteArray &document, const QByteArray &root)>;

// document with a DOCTYPE holding subset after its XML declaration, and body put in before the
// root's end tag.
QByteArray withDoctype(const QByteArray &document, const QByteArray &root,
                       const QByteArray &subset, const QByteArray &body = {})
{
    QByteArray result = document;
    const qsizetype end = result.lastIndexOf("</");
    if (end >= 0)
        result.insert(end, body);
    const qsizetype declaration = result.startsWith("<?xml") ? result.indexOf("?>") + 2 : 0;
    return result.insert(declaration, "<!DOCTYPE " + root + " " + subset + ">");
}

QByteArray inside(const QByteArray &document, const QByteArray &body)
{
    QByteArray result = document;
    const qsizetype end = result.lastIndexOf("</");
    return result.insert(end < 0 ? result.size() : end, body);
}

QByteArray randomBytes(qsizetype size)
{
    QByteArray bytes(size, '\0');
    QRandomGenerator random(7);
    for (char &c : bytes)
        c = char(random.bounded(256));
    return bytes;
}

// What an attacker does to one XML or HTML document, and the piece of the message that refuses
// it where it must be refused.
struct XmlAttack
{
    const char *name;
    Attack attack;
    // The piece of the message, and the parts (named as in hostileFiles) refused for it; a
    // damaged table of contents is passed over for the other, or for none.
    const char *refusal = "";
    QByteArrayView refusedIn = {};
};

const XmlAttack XmlAttacks[] = {
    {"entities", [](auto &, auto &root) { return entityBomb(root); }, "declares XML entities",
     "container content"},
    {"external-entity",
     [](auto &doc, auto &root) {
         return withDoctype(doc, root, "[<!ENTITY x SYSTEM 'file:///etc/passwd'>]", "&x;");
     },
     "declares XML entities", "container content"},
    {"parameter-entity",
     [](auto &doc, auto &root) {
         return withDoctype(doc, root, "[<!ENTITY % p SYSTEM 'file:///etc/passwd'> %p;]");
     },
     "declares XML entities", "container content"},
    {"external-dtd",
     [](auto &doc, auto &root) { return withDoctype(doc, root, "SYSTEM 'file:///etc/passwd'"); }},
    {"quadratic",
     [](auto &doc, auto &root) {
         return withDoctype(doc, root, "[<!ENTITY a '" + QByteArray(40000, 'a') + "'>]",
                            QByteArray("&a;").repeated(40000));
     }},
    {"deep", [](auto &doc, auto &) {
         return inside(doc, QByteArray("<d>").repeated(60000) + QByteArray("</d>").repeated(60000));
     }},
    {"attributes", [](auto &doc, auto &) {
         QByteArray element = "<e";
         for (int i = 0; i < 30000; ++i)
             element += " a" + QByteArray::number(i) + "='x'";
         return inside(doc, element + "/>");
     },
     "more than 1000 attributes", "container content c1 page"},
    {"long-attribute",
     [](auto &doc, auto &) { return inside(doc, "<e a='" + QByteArray(300000, 'a') + "'/>"); }},
    {"elements", [](auto &doc, auto &) { return inside(doc, QByteArray("<p/>").repeated(100000)); }},
    {"xinclude",
     [](auto &doc, auto &) {
         return inside(doc, "<xi:include xmlns:xi='http://www.w3.org/2001/XInclude' "
                            "href='file:///etc/passwd' parse='text'/>");
     }},
    {"binary", [](auto &, auto &) { return randomBytes(4096); }},
    {"truncated", [](auto &doc, auto &) { return doc.first(doc.size() / 2); }},
    {"empty", [](auto &, auto &) { return QByteArray(); }},
    {"utf16-lie",
     [](auto &doc, auto &) {
         QByteArray result = doc;
         return result.replace("<?xml version='1.0'", "<?xml version='1.0' encoding='UTF-16'");
     }},
    {"nul", [](auto &doc, auto &) {
         QByteArray result = doc;
         return result.insert(result.size() / 2, QByteArray(16, '\0'));
     }},
};

// The EPUB book every archive attack starts from, and one entry of it changed.
const QList<ZipEntry> &goodBook()
{
    static const QList<ZipEntry> book = [] {
        QList<ZipEntry> entries =
            epubEntries({"<h1>One</h1><p>Text.</p>", "<h1>Two</h1><p>More.</p>"},
                        "<li><a href='c1.xhtml'>One</a></li><li><a href='c2.xhtml'>Two</a></li>");
        entries.append({u"OEBPS/toc.ncx"_s,
                        "<?xml version='1.0'?><ncx><navMap><navPoint><navLabel><text>One</text>"
                        "</navLabel><content src='c1.xhtml'/></navPoint></navMap></ncx>"});
        return entries;
    }();
    return book;
}

QByteArray entry(const QString &name)
{
    for (const ZipEntry &e : goodBook()) {
        if (e.name == name)
            return e.bytes;
    }
    return {};
}

QByteArray withEntry(const QString &name, const QByteArray &bytes)
{
    QList<ZipEntry> entries = goodBook();
    bool found = false;
    for (ZipEntry &e : entries) {
        if (e.name == name) {
            e.bytes = bytes;
            found = true;
        }
    }
    if (!found)
        entries.append({name, bytes});
    return zipArchive(entries);
}

QByteArray withPackage(const QByteArray &from, const QByteArray &to)
{
    QByteArray package = entry(u"OEBPS/content.opf"_s);
    return withEntry(u"OEBPS/content.opf"_s, package.replace(from, to));
}

QByteArray withContainerPath(const QByteArray &path)
{
    QByteArray container = entry(u"META-INF/container.xml"_s);
    return withEntry(u"META-INF/container.xml"_s,
                     container.replace("OEBPS/content.opf", path));
}

QByteArray without(const QString &name)
{
    QList<ZipEntry> entries = goodBook();
    entries.removeIf([&](const ZipEntry &e) { return e.name == name; });
    return zipArchive(entries);
}

QList<HostileFile> archiveAttacks()
{
    const QByteArray good = zipArchive(goodBook());
    QList<ZipEntry> many = goodBook();
    for (int i = 0; i < 5000; ++i)
        many.append({u"OEBPS/x%1.css"_s.arg(i), "p{}"});
    QList<ZipEntry> bomb = goodBook();
    bomb.append({u"OEBPS/c1.xhtml"_s, rawDeflate(QByteArray(4096, ' ')), 3LL << 30});
    // Names the refusal quotes, with a line break in them that must not break its one line, and
    // a name too long to quote whole.
    QList<ZipEntry> bombBroken = goodBook();
    bombBroken.append({u"OEBPS/c\n"_s + QString(400, u'x') + u".xhtml"_s,
                       rawDeflate(QByteArray(4096, ' ')), 1LL << 20});
    QList<ZipEntry> twice = goodBook();
    twice.append({u"OEBPS/c1.xhtml"_s, "<html><body><p>Again</p></body></html>"});
    QByteArray manifest, spine;
    for (int i = 0; i < 50000; ++i) {
        manifest += "<item id='i" + QByteArray::number(i) + "' href='c1.xhtml' "
                    "media-type='application/xhtml+xml'/>";
        spine += "<itemref idref='i" + QByteArray::number(i) + "'/>";
    }
    QByteArray navList;
    for (int i = 0; i < 60000; ++i)
        navList += "<li><a href='c1.xhtml'>E</a></li>";
    QByteArray nav = entry(u"OEBPS/nav.xhtml"_s);
    nav.replace("</ol>", navList + noiseComment(navList.size() / 100) + "</ol>");
    // Tables and a spine repeated past anything a book holds; each is packed no tighter than a
    // real book so that only its size is the attack.
    const QByteArray endlessSpine = QByteArray("<itemref idref='c1'/>").repeated(450000);
    QByteArray endlessNav = entry(u"OEBPS/nav.xhtml"_s);
    endlessNav.replace("</ol>", navList.repeated(5) + noiseComment(navList.size() / 20) + "</ol>");
    QByteArray endlessNcx = entry(u"OEBPS/toc.ncx"_s);
    const QByteArray point = "<navPoint><navLabel><text>E</text></navLabel>"
                             "<content src='c1.xhtml'/></navPoint>";
    endlessNcx.replace("</navMap>", point.repeated(300000) + noiseComment(point.size() * 3000)
                                        + "</navMap>");
    // A document whose one text node would inflate past what a book's markup may hold, its
    // archive declaring so; refused before it is inflated.
    QList<ZipEntry> hugeNode = goodBook();
    hugeNode.append({u"OEBPS/c1.xhtml"_s, rawDeflate(randomBytes(400000)), 70LL << 20});

    return {
        {u"archive-bomb.epub"_s, zipArchive(bomb), u"ZIP bomb"_s},
        {u"archive-bomb-named.epub"_s, zipArchive(bombBroken), u"ZIP bomb"_s},
        {u"archive-entries.epub"_s, zipArchive(many), u"4096"_s},
        {u"archive-twice.epub"_s, zipArchive(twice), {}},
        {u"archive-truncated.epub"_s, good.first(good.size() / 2), u"not a ZIP archive"_s},
        {u"archive-prefixed.epub"_s, randomBytes(1000) + good, {}},
        {u"archive-empty.epub"_s, {}, u"not a ZIP archive"_s},
        {u"archive-text.epub"_s, "Just a line of text.\n", u"not a ZIP archive"_s},
        {u"no-mimetype.epub"_s, without(u"mimetype"_s), {}},
        {u"no-container.epub"_s, without(u"META-INF/container.xml"_s), u"container.xml"_s},
        {u"no-package.epub"_s, without(u"OEBPS/content.opf"_s), u"package document"_s},
        {u"no-content.epub"_s, without(u"OEBPS/c1.xhtml"_s), u"c1.xhtml"_s},
        {u"rootfile-up.epub"_s, withContainerPath("../../etc/passwd"), u"package document"_s},
        {u"rootfile-absolute.epub"_s, withContainerPath("/etc/passwd"), u"package document"_s},
        {u"rootfile-folder.epub"_s, withContainerPath("OEBPS/"), {}},
        {u"rootfile-itself.epub"_s, withContainerPath("META-INF/container.xml"), {}},
        {u"href-up.epub"_s, withPackage("href='c1.xhtml'", "href='../../../etc/passwd'"), {}},
        {u"href-absolute.epub"_s, withPackage("href='c1.xhtml'", "href='/etc/passwd'"), {}},
        {u"href-file.epub"_s, withPackage("href='c1.xhtml'", "href='file:///etc/passwd'"),
         u"outside the book"_s},
        {u"href-web.epub"_s, withPackage("href='c1.xhtml'", "href='http://example.com/c.xhtml'"),
         {}},
        {u"href-package.epub"_s, withPackage("href='c1.xhtml'", "href='content.opf'"), {}},
        {u"spine-unknown.epub"_s, withPackage("idref='c1'", "idref='nothing'"), u"nothing"_s},
        {u"spine-broken.epub"_s, withPackage("href='c1.xhtml'", "href='c&#10;1.xhtml'"),
         u"lacks the content document"_s},
        {u"spine-empty.epub"_s,
         withPackage("<itemref idref='c1'/><itemref idref='c2'/>", ""), {}},
        {u"manifest-huge.epub"_s, withPackage("</manifest>", manifest + "</manifest>"), {}},
        {u"spine-huge.epub"_s,
         withEntry(u"OEBPS/content.opf"_s,
                   entry(u"OEBPS/content.opf"_s)
                       .replace("</manifest>", manifest + "</manifest>")
                       .replace("</spine>", spine + "</spine>")),
         {}},
        {u"nav-huge.epub"_s, withEntry(u"OEBPS/nav.xhtml"_s, nav), {}},
        {u"nav-endless.epub"_s, withEntry(u"OEBPS/nav.xhtml"_s, endlessNav), {}},
        {u"ncx-endless.epub"_s, withEntry(u"OEBPS/toc.ncx"_s, endlessNcx), {}},
        {u"spine-endless.epub"_s,
         withPackage("</spine>", endlessSpine + noiseComment(endlessSpine.size() / 20)
                                     + "</spine>"),
         u"package document"_s},
        {u"text-node-huge.epub"_s, zipArchive(hugeNode), u"64 MB"_s},
        {u"encrypted.epub"_s,
         withEntry(u"META-INF/encryption.xml"_s,
                   "<encryption><EncryptedData><CipherData><CipherReference "
                   "URI='OEBPS/c1.xhtml'/></CipherData></EncryptedData></encryption>"),
         u"DRM"_s},
    };
}

} // namespace

QList<HostileFile> hostileFiles()
{
    QList<HostileFile> files = archiveAttacks();
    // Each attack on each part of an EPUB book, and on a web page of its own.
    const std::pair<QString, QByteArray> parts[] = {
        {u"META-INF/container.xml"_s, "container"}, {u"OEBPS/content.opf"_s, "package"},
        {u"OEBPS/toc.ncx"_s, "ncx"},                {u"OEBPS/nav.xhtml"_s, "html"},
        {u"OEBPS/c1.xhtml"_s, "html"},
    };
    const QByteArray page = "<?xml version='1.0'?><html><head><title>Page</title></head><body>"
                            "<h1>One</h1><p>Text.</p></body></html>";
    for (const XmlAttack &attack : XmlAttacks) {
        const QString name = QString::fromLatin1(attack.name);
        auto refusal = [&](const QString &stem) {
            const bool refused = QString::fromLatin1(attack.refusedIn).split(u' ').contains(stem);
            return refused ? QString::fromLatin1(attack.refusal) : QString();
        };
        for (const auto &[part, root] : parts) {
            const QString stem = part.section(u'/', -1).section(u'.', 0, 0);
            QByteArray attacked = attack.attack(entry(part), root);
            // Noise that keeps a large part within the archive's limit on expansion, so that
            // the parser meets it.
            if (attacked.size() > 50000)
                attacked += noiseComment(attacked.size() / 100);
            files.append({stem + u'-' + name + u".epub"_s, withEntry(part, attacked),
                          refusal(stem)});
        }
        files.append({u"page-"_s + name + u".html"_s, attack.attack(page, "html"),
                       refusal(u"page"_s)});
    }
    // Texts.
    const std::pair<QString, QByteArray> texts[] = {
        {u"binary.txt"_s, randomBytes(20000)},
        {u"nul.txt"_s, "Chapter 1\r\n" + QByteArray(1000, '\0') + "Text\r\n"},
        {u"empty.txt"_s, {}},
        {u"bom.txt"_s, "\xEF\xBB\xBF"},
        {u"one-line.txt"_s, QByteArray(3000000, 'a')},
        {u"blank-lines.txt"_s, QByteArray("\r\n").repeated(1000000)},
        {u"utf16.txt"_s, QByteArray("C\0h\0a\0p\0t\0e\0r\0 \0001\0\r\0\n\0", 22).repeated(1000)},
        {u"headings.txt"_s, QByteArray("CHAPTER I\r\n\r\n").repeated(100000)},
    };
    for (const auto &[name, bytes] : texts)
        files.append({name, bytes, {}});
    // The other formats Import reads.
    QList<ZipEntry> word = {{u"word/document.xml"_s, entityBomb("document")}};
    QByteArray palm(200, 'x');
    palm.replace(60, 8, "BOOKMOBI");
    // A table of contents that claims 300 million entries: gigabytes for their table.
    QByteArray claims = kindleBook(KindleHtml, 0, {{"One", "<h1>"}});
    qToBigEndian(quint32(300'000'000), claims.data() + claims.indexOf("INDX") + 36);
    const HostileFile formats[] = {
        {u"entities.fb2"_s, entityBomb("FictionBook"), u"entities"_s},
        {u"deep.fb2"_s,
         "<FictionBook><body>" + QByteArray("<section>").repeated(100000) + "</body></FictionBook>",
         u"deeper"_s},
        {u"attributes.fb2"_s, "<FictionBook" + QByteArray(" a='x'").repeated(30000) + "/>",
         u"attributes"_s},
        {u"entities.docx"_s, zipArchive(word), u"entities"_s},
        {u"bomb.odt"_s,
         zipArchive({{u"mimetype"_s, "application/vnd.oasis.opendocument.text"},
                     {u"content.xml"_s, rawDeflate(QByteArray(4096, ' ')), 3LL << 30}}),
         u"ZIP bomb"_s},
        {u"empty.fbz"_s, zipArchive({{u"readme.txt"_s, "x"}}), u"FictionBook"_s},
        {u"garbage.mobi"_s, palm, u"Kindle book"_s},
        {u"contents-claims.azw3"_s, claims, u"damaged"_s},
        {u"quotes.md"_s, QByteArray("> ").repeated(100000) + "x", {}},
        {u"lists.md"_s, QByteArray("- ").repeated(50000) + "x", {}},
        {u"brackets.md"_s, QByteArray("[").repeated(200000) + QByteArray("](x)").repeated(1000), {}},
    };
    for (const HostileFile &file : formats)
        files.append(file);
    // Book files that lie about what they hold.
    const HostileFile books[] = {
        {u"count-lie.vlm"_s, header(32767, "T", "", "") + record(0, "only one"), u"cut short"_s},
        {u"negative-count.vlm"_s, header(-5, "T", "", "") + "text", u"negative"_s},
        {u"offset-beyond.vlm"_s, header(1, "T", "", "") + record(999999, "far") + "text", {}},
        {u"offset-negative.vlm"_s, header(1, "T", "", "") + record(-7, "back") + "text", {}},
        {u"short-header.vlm"_s, header(0, "T", "", "").first(1000), u"header"_s},
        {u"short-record.vlm"_s, header(2, "T", "", "") + record(0, "one").first(20),
         u"cut short"_s},
        {u"binary-fields.vlm"_s, header(0, randomBytes(200), randomBytes(50), "") + "text", {}},
        {u"empty.vlm"_s, {}, u"empty"_s},
    };
    for (const HostileFile &book : books)
        files.append(book);
    files += hostilePdfs();
    return files;
}
