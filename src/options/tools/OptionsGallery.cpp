// vanisto-options-gallery OUTPUT_DIR
//
// Opens the real options window and writes pictures of it: as a first start finds it, with
// ULTRA chosen over too few wipes (the reset notice showing), and with seven protected
// folders scrolled to the last. Settings live in a throw-away folder.
#include "common/Settings.h"
#include "common/SharedState.h"
#include "options/frmOptions.h"
#include "skin/MyTopButton.h"
#include "skin/ctlSlider.h"
#include "skin/tools/Gallery.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QMouseEvent>
#include <QTemporaryDir>

#include <cstdio>

namespace {
QString g_out;

void Shoot(const QString& name, const std::function<void(frmOptions&)>& prepare)
{
    frmOptions window(nullptr);
    window.Form_Load();
    window.show();
    prepare(window);
    Gallery::Save(window, g_out + QLatin1Char('/') + name);
}
} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: vanisto-options-gallery OUTPUT_DIR\n");
        return 2;
    }
    QTemporaryDir home;
    Gallery::UseThrowAwayHome(home);
    QApplication::setAttribute(Qt::AA_Use96Dpi);
    QApplication app(argc, argv);
    QApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), 9));
    g_out = QFile::decodeName(argv[1]);
    QDir().mkpath(g_out);

    Shoot(QStringLiteral("options-default.png"), [](frmOptions&) {});
    Shoot(QStringLiteral("options-ultra-reset.png"), [](frmOptions& window) {
        // ENHANCED with 3 wipes, as a stored setting edited by hand would leave it.
        Shared().FastShred = 2;
        Shared().NumOverwrite = 3;
        Gallery::Click(window, "btnFastShred");
        Gallery::Click(window, "btnInstant");
    });
    QString folders;
    for (const char* name : {"Documents/Taxes", "Documents/Contracts", "Pictures/Family", "Projects/thesis",
                             "Music", "Mail/archive", "Backups/laptop"})
        folders += QStringLiteral("/home/alex/") + QLatin1String(name) + QLatin1Char(';');
    SaveStringSetting(Setting::SafeFiles, folders);
    SaveBooleanSetting(Setting::ShredNow, false);
    Shoot(QStringLiteral("options-folders.png"), [](frmOptions& window) {
        auto* scroller = window.findChild<ctlSlider*>(QStringLiteral("myscroller2"));
        (void)scroller->SetValue(scroller->Min());
        window.findChild<QListWidget*>(QStringLiteral("LstSafeFiles"))->item(4)->setCheckState(Qt::Checked);
    });
    return 0;
}
