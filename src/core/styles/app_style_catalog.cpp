#include "core/styles/app_style_catalog.h"

#include "core/base/plain_text.h"

#include <QSet>

namespace {

QStringList list(std::initializer_list<const char*> entries)
{
    QStringList out;
    out.reserve(qsizetype(entries.size()));
    for (const char* e : entries)
        out << QString::fromUtf8(e);
    return out;
}

struct Category {
    QString style;
    QStringList bundles; // prefixes of lower-cased ids
    QStringList names;   // keywords of lower-cased names
};

// Tried in this order; the first category that matches wins.
const QList<Category>& categories()
{
    static const QList<Category> all{
        {QStringLiteral("code"),
         list({"com.apple.dt.xcode",
               "com.microsoft.vscode",
               "com.todesktop.",
               "com.cursor.",
               "dev.zed.",
               "com.jetbrains.",
               "com.google.android.studio",
               "com.panic.nova",
               "com.sublimetext.",
               "com.barebones.bbedit",
               "com.coteditor.",
               "com.macromates.",
               "com.apple.terminal",
               "com.googlecode.iterm2",
               "dev.warp.",
               "com.mitchellh.ghostty",
               "com.exafunction.",
               "com.github.githubclient",
               "com.googlecode.macvim",
               "com.qvacua.vimr"}),
         list({"xcode",
               "vscode",
               "cursor",
               "zed",
               "intellij",
               "pycharm",
               "webstorm",
               "phpstorm",
               "goland",
               "clion",
               "rider",
               "rubymine",
               "datagrip",
               "nova",
               "sublime",
               "bbedit",
               "coteditor",
               "textmate",
               "iterm",
               "iterm2",
               "terminal",
               "warp",
               "ghostty",
               "windsurf",
               "trae",
               "vim",
               "macvim",
               "vimr",
               "postman",
               "tableplus",
               "docker",
               "insomnia",
               "gitkraken",
               "sourcetree",
               "visual studio code",
               "android studio",
               "github desktop"})},
        {QStringLiteral("email"),
         list({"com.apple.mail", "com.microsoft.outlook", "com.readdle.smartemail",
               "com.readdle.sparkdesktop", "com.airmail.", "com.mimestream.", "org.mozilla.thunderbird",
               "com.freron.mailmate", "com.superhuman."}),
         list(
             {"mail", "outlook", "spark", "thunderbird", "airmail", "mimestream", "superhuman", "mailmate"})},
        {QStringLiteral("chat"),
         list({"com.tinyspeck.slackmacgap", "com.apple.mobilesms", "com.apple.messages",
               "net.whatsapp.whatsapp", "net.whatsapp.whatsapp.mac", "com.hnc.discord", "com.microsoft.teams",
               "com.microsoft.teams2", "org.telegram.", "ru.keepcoder.telegram", "org.whispersystems.signal",
               "com.facebook.archon", "com.skype.skype", "com.apple.ichat"}),
         list({"slack", "whatsapp", "discord", "teams", "telegram", "signal", "messenger", "messages",
               "skype"})},
        {QStringLiteral("notes"),
         list({"com.apple.notes", "com.apple.stickies", "com.apple.freeform", "com.apple.textedit",
               "com.apple.reminders", "md.obsidian", "notion.id", "com.bear-writer.", "com.lukilabs.lukiapp",
               "com.goodnotes.", "com.microsoft.word", "com.apple.iwork.pages", "com.ulyssesapp.",
               "com.logseq."}),
         list({"notes", "notizen", "obsidian", "notion", "bear", "craft", "goodnotes", "word", "pages",
               "textedit", "ulysses", "logseq", "reminders", "erinnerungen", "stickies", "freeform", "typora",
               "scrivener"})},
    };
    return all;
}

QSet<QString> words(const QString& text)
{
    QSet<QString> out;
    QString word;
    for (const char32_t c : text.toUcs4()) {
        if (QChar::isLetterOrNumber(c)) {
            word += QString::fromUcs4(&c, 1);
        } else if (!word.isEmpty()) {
            out.insert(word);
            word.clear();
        }
    }
    if (!word.isEmpty())
        out.insert(word);
    return out;
}

bool matches(const QString& id, const QString& name, const Category& category)
{
    for (const QString& prefix : category.bundles) {
        if (id.startsWith(prefix))
            return true;
    }
    const QSet<QString> nameWords = words(name);
    for (const QString& keyword : category.names) {
        const bool phrase = keyword.contains(QLatin1Char(' '));
        if (phrase ? name.contains(keyword) : nameWords.contains(keyword))
            return true;
    }
    return false;
}

} // namespace

QString AppStyleCatalog::suggest(const QString& bundleID, const QString& name)
{
    const QString id = bundleID.toLower();
    // Cursor restyles text itself, although the code tables would claim it.
    if (PlainText::fold(name) == QLatin1String("cursor") ||
        id == QLatin1String("com.todesktop.230313mzl4w4u92") || id.startsWith(QLatin1String("com.cursor.")))
        return QStringLiteral("auto");
    const QString n = name.toLower();
    for (const Category& category : categories()) {
        if (matches(id, n, category))
            return category.style;
    }
    return QStringLiteral("auto");
}

QList<FrontApp> AppStyleCatalog::unify(const QList<FrontApp>& apps)
{
    QSet<QString> seen;
    QList<FrontApp> out;
    for (const FrontApp& app : apps) {
        if (!seen.contains(app.bundleID)) {
            seen.insert(app.bundleID);
            out.append(app);
        }
    }
    return out;
}
