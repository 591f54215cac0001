// The news window's commands: listing, adding, editing, deleting and purging news
// items of Nachrichten.db with their files in the news directory.
#include "base/clock.h"
#include "base/formats.h"
#include "base/text_files.h"
#include "cli/commands.h"
#include "news/news_store.h"
#include "store/firma_hooks.h"

namespace q::cli {

namespace {

QString newsDir(const Session& s) {
    const QString dir = s.values.text(QStringLiteral("NachrichtenPath"));
    return dir.isEmpty() ? s.dirs.install + QStringLiteral("Nachrichten/") : withSlash(dir);
}

Result<qint64> nummerOf(const QString& text) {
    bool ok = false;
    const qint64 n = text.toLongLong(&ok);
    if (!ok) return Status::invalid(QStringLiteral("Keine Nachrichtennummer: %1").arg(text));
    return n;
}

Result<int> securityOf(Context& c, const QString& text) {
    if (text.trimmed() == QLatin1String("0")) return 0;
    auto firmen = c.session.store.table(QStringLiteral("Firma.db"));
    if (!firmen) return firmen.status();
    return findSecurity(**firmen, text);
}

// "dd.mm.yyyy hh:nn"; nullopt for anything else.
std::optional<QDateTime> parseDateTimeText(const QString& text) {
    const QStringList parts = text.simplified().split(QLatin1Char(' '));
    if (parts.size() != 2) return std::nullopt;
    auto day = parseDate(parts[0]);
    const QTime time = QTime::fromString(parts[1], QStringLiteral("h:mm"));
    if (!day || !time.isValid()) return std::nullopt;
    return QDateTime(*day, time);
}

QJsonObject itemJson(const NewsItem& n, const QString& dir) {
    return QJsonObject{{QStringLiteral("Nummer"), double(n.Nummer)},
                       {QStringLiteral("Zeit"), formatDateTime(n.Zeit)},
                       {QStringLiteral("Nachricht"), n.Nachricht},
                       {QStringLiteral("Firma"), n.Firma},
                       {QStringLiteral("Aktiv"), n.Aktiv},
                       {QStringLiteral("file"), newsItemFile(dir, n.Nummer)}};
}

QString itemLine(const NewsItem& n) {
    return QStringLiteral("%1\t%2\t%3\t%4").arg(n.Nummer).arg(formatDateTime(n.Zeit), n.Aktiv ? QStringLiteral("aktiv") : QStringLiteral("inaktiv"), n.Nachricht);
}

Outcome runNews(Context& c) {
    Outcome out;
    const int modes = int(c.args.has(QStringLiteral("--all"))) + int(c.args.has(QStringLiteral("--company"))) +
                      int(c.args.has(QStringLiteral("--security")));
    if (modes > 1) return failed(Status::invalid(QStringLiteral("Höchstens eines von --all, --company und --security angeben")));
    if (!startForJob(c, out, true)) return out;
    NewsFilter f;
    f.inactive = c.args.has(QStringLiteral("--inactive"));
    if (c.args.has(QStringLiteral("--company"))) f.general = false;
    if (c.args.has(QStringLiteral("--security"))) {
        auto firma = securityOf(c, c.args.value(QStringLiteral("--security")));
        if (!firma) return failed(firma.status());
        f.security = *firma;
        f.general = false;
    }
    auto items = listNews(c.session.store, f);
    if (!items) return failed(items.status());
    const QString dir = newsDir(c.session);
    QJsonArray list;
    for (const NewsItem& n : *items) {
        out.lines << itemLine(n);
        list.append(itemJson(n, dir));
    }
    out.lines << QStringLiteral("%1 Nachrichten").arg(items->size());
    out.json[QStringLiteral("items")] = list;
    return out;
}

Outcome runNewsShow(Context& c) {
    Outcome out;
    auto nummer = nummerOf(c.args.positional()[0]);
    if (!nummer) return failed(nummer.status());
    if (!startForJob(c, out, true)) return out;
    auto item = readNews(c.session.store, *nummer);
    if (!item) return failed(item.status());
    const NewsText text = readNewsText(newsDir(c.session), *nummer);
    out.lines << itemLine(*item) << text.text;
    out.json = itemJson(*item, newsDir(c.session));
    out.json[QStringLiteral("html")] = text.html;
    out.json[QStringLiteral("text")] = text.text;
    return out;
}

Outcome runNewsAdd(Context& c) {
    Outcome out;
    if (!startForJob(c, out, true)) return out;
    int firma = 0;
    if (c.args.has(QStringLiteral("--security"))) {
        auto f = securityOf(c, c.args.value(QStringLiteral("--security")));
        if (!f) return failed(f.status());
        firma = *f;
    }
    std::optional<QString> text;
    if (c.args.has(QStringLiteral("--text"))) {
        auto lines = readTextLinesAnyEncoding(c.args.value(QStringLiteral("--text")));
        if (!lines) return failed(lines.status());
        text = lines->join(QLatin1Char('\n'));
    }
    const QString dir = newsDir(c.session);
    auto item = addNews(c.session.store, dir, c.args.positional()[0], firma, now(), text);
    if (!item) return failed(item.status());
    out.lines << QStringLiteral("Nachricht %1 angelegt").arg(item->Nummer);
    out.json = itemJson(*item, dir);
    return out;
}

Outcome runNewsEdit(Context& c) {
    Outcome out;
    auto nummer = nummerOf(c.args.positional()[0]);
    if (!nummer) return failed(nummer.status());
    NewsEdit e;
    if (c.args.has(QStringLiteral("--headline"))) e.headline = c.args.value(QStringLiteral("--headline"));
    if (c.args.has(QStringLiteral("--time"))) {
        e.zeit = parseDateTimeText(c.args.value(QStringLiteral("--time")));
        if (!e.zeit)
            return failed(Status::invalid(QStringLiteral("Kein gültiges Datum mit Zeit (TT.MM.JJJJ hh:nn): %1").arg(c.args.value(QStringLiteral("--time")))));
    }
    if (c.args.has(QStringLiteral("--active"))) {
        const QString a = c.args.value(QStringLiteral("--active"));
        if (a != QLatin1String("0") && a != QLatin1String("1"))
            return failed(Status::invalid(QStringLiteral("--active erwartet 0 oder 1, nicht %1").arg(a)));
        e.aktiv = a == QLatin1String("1");
    }
    if (!startForJob(c, out, true)) return out;
    if (c.args.has(QStringLiteral("--security"))) {
        auto f = securityOf(c, c.args.value(QStringLiteral("--security")));
        if (!f) return failed(f.status());
        e.firma = *f;
    }
    auto item = editNews(c.session.store, *nummer, e);
    if (!item) return failed(item.status());
    out.lines << itemLine(*item);
    out.json = itemJson(*item, newsDir(c.session));
    return out;
}

Outcome runNewsDelete(Context& c) {
    Outcome out;
    auto nummer = nummerOf(c.args.positional()[0]);
    if (!nummer) return failed(nummer.status());
    if (!startForJob(c, out, true)) return out;
    if (Status s = deleteNews(c.session.store, newsDir(c.session), *nummer); !s) return failed(s);
    out.lines << QStringLiteral("Nachricht %1 gelöscht").arg(*nummer);
    out.json[QStringLiteral("deleted")] = double(*nummer);
    return out;
}

Outcome runNewsPurge(Context& c) {
    Outcome out;
    const bool old = c.args.has(QStringLiteral("--old"));
    if (old == c.args.has(QStringLiteral("--inactive")))
        return failed(Status::invalid(QStringLiteral("Genau eines von --old und --inactive angeben")));
    if (!c.options.yes) return failed(Status::cancelled(QStringLiteral("Es wurde nichts gelöscht (löschen mit --yes)")));
    if (!startForJob(c, out, true)) return out;
    auto r = purgeNews(c.session.store, newsDir(c.session), old ? NewsPurge::Old : NewsPurge::Inactive, today());
    if (!r) return failed(r.status());
    out.lines << QStringLiteral("%1 Nachrichten mit %2 Dateien gelöscht").arg(r->items).arg(r->files);
    out.json[QStringLiteral("items")] = r->items;
    out.json[QStringLiteral("files")] = r->files;
    return out;
}

}  // namespace

std::vector<Command> newsCommands() {
    return {
        {"news", "Nachrichtenübersicht",
         "news [--all | --company | --security FIRMA] [--inactive]\n"
         "Die Überschriften, neueste zuerst: alle Meldungen, nur Unternehmens-Meldungen oder die des\n"
         "Wertpapiers; mit --inactive auch die nicht aktiven.",
         runNews, ArgSpec{{{"--all", false}, {"--company", false}, {"--security", true}, {"--inactive", false}}, 0, 0}},
        {"news-show", "Text einer Nachricht",
         "news-show NUMMER\n"
         "Zeigt den Text der Datei NUMMER.TXT (auch 0NUMMER.TXT, NUMMER.HTM, 0NUMMER.HTM).",
         runNewsShow, ArgSpec{{}, 1, 1}},
        {"news-add", "Neue Überschrift",
         "news-add ÜBERSCHRIFT [--security FIRMA] [--text DATEI]\n"
         "Legt eine aktive Nachricht von jetzt an (Überschrift höchstens 255 Zeichen); --text: ihr Text.",
         runNewsAdd, ArgSpec{{{"--security", true}, {"--text", true}}, 1, 1}},
        {"news-edit", "Nachricht ändern",
         "news-edit NUMMER [--headline T] [--time \"TT.MM.JJJJ hh:nn\"] [--active 0|1] [--security FIRMA|0]",
         runNewsEdit, ArgSpec{{{"--headline", true}, {"--time", true}, {"--active", true}, {"--security", true}}, 1, 1}},
        {"news-delete", "Nachricht löschen",
         "news-delete NUMMER\n"
         "Löscht den Satz und danach die Dateien der Nachricht.",
         runNewsDelete, ArgSpec{{}, 1, 1}},
        {"news-purge", "alte Nachrichten löschen",
         "news-purge (--old | --inactive) --yes\n"
         "--old: alle inaktiven und alle keinem Wertpapier zugeordneten von vor heute;\n"
         "--inactive: alle nicht aktiven. Die Dateien gehen mit.",
         runNewsPurge, ArgSpec{{{"--old", false}, {"--inactive", false}}, 0, 0}},
    };
}

}  // namespace q::cli
