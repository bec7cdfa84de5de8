// The help pages the program opens: present in both languages, linked to each other, and
// readable offline (links only to files of the help folder, no dangling in-page links).

#include "SourceTree.h"

#include <QFile>
#include <QRegularExpression>
#include <QSet>

#include <gtest/gtest.h>

namespace {

QString ReadHelpPage(const QString& name) {
    QFile file(SourceTree() + QStringLiteral("/data/help/") + name);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

TEST(HelpPagesTest, PagesAreSelfContainedAndTheirLinksResolve) {
    const struct {
        const char* page;
        const char* otherLanguage;
    } pages[] = {{"index.html", "index-zh.html"}, {"index-zh.html", "index.html"}};
    static const QRegularExpression id(QStringLiteral(R"re(\bid="([^"]+)")re"));
    static const QRegularExpression link(QStringLiteral(R"re(\b(?:href|src)="([^"]*)")re"));
    for (const auto& p : pages) {
        SCOPED_TRACE(p.page);
        const QString html = ReadHelpPage(QString::fromLatin1(p.page));
        ASSERT_FALSE(html.isEmpty());
        EXPECT_TRUE(html.contains(QStringLiteral("<meta charset=\"utf-8\">")));
        QSet<QString> ids;
        for (auto m = id.globalMatch(html); m.hasNext();) ids.insert(m.next().captured(1));
        QSet<QString> targets;
        for (auto m = link.globalMatch(html); m.hasNext();) {
            const QString target = m.next().captured(1);
            targets.insert(target);
            if (target.startsWith(u'#')) {
                EXPECT_TRUE(ids.contains(target.mid(1))) << "dangling " << target.toStdString();
            } else {
                // Only files of the help folder itself.
                EXPECT_TRUE(!target.contains(u'/') && !target.contains(u':') && !ReadHelpPage(target).isEmpty())
                    << "outside link " << target.toStdString();
            }
        }
        EXPECT_TRUE(targets.contains(QString::fromLatin1(p.otherLanguage)));
        // The permissions section must tell how to install and check the udev rule.
        for (const char* needed : {"70-vantor-keyboard.rules", "/etc/udev/rules.d/", "udevadm control --reload",
                                   "udevadm trigger", "getfacl", "vantorctl"}) {
            EXPECT_TRUE(html.contains(QString::fromLatin1(needed))) << needed;
        }
    }
}

}  // namespace
