// vanisto-dialog-gallery OUTPUT_DIR
//
// Opens the message dialog through ShowDialog as the program does, with a Yes/No question
// and with the input box, and writes a picture of each into OUTPUT_DIR before answering it;
// then the about window.
#include "dialogs/frmAbout.h"
#include "dialogs/modDialog.h"
#include "skin/modSkinForm.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QTimer>

#include <cstdio>

namespace {
QString g_out;

// The window as the screen shows it: its outline cut out, on a plain desktop with a soft shadow.
QImage OnDesktop(QWidget* window)
{
    const int margin = 24;
    QImage image(window->size() + QSize(2 * margin, 2 * margin), QImage::Format_ARGB32_Premultiplied);
    image.fill(QColor(0xcf, 0xd4, 0xda));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    for (int i = 6; i >= 1; --i) {
        QPainterPath shadow;
        shadow.addRoundedRect(
            QRectF(margin - i + 2, margin - i + 5, window->width() + 2 * i - 4, window->height() + 2 * i - 4),
            7 + i, 7 + i);
        painter.fillPath(shadow, QColor(0, 0, 0, 10));
    }
    painter.translate(margin, margin);
    if (!window->mask().isEmpty())
        painter.setClipRegion(window->mask());
    painter.drawPixmap(0, 0, window->grab());
    return image;
}

// Once the dialog is open: type `typed` into its box, take its picture, answer with `button`.
void Save(QWidget* window, const QString& name)
{
    const QString path = g_out + QLatin1Char('/') + name;
    if (OnDesktop(window).save(path))
        std::printf("%s\n", qPrintable(path));
    else
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
}

void Photograph(const QString& name, const QString& typed, const QString& button)
{
    QTimer::singleShot(0, [=] {
        QWidget* dialog = nullptr;
        const QWidgetList windows = QApplication::topLevelWidgets();
        for (QWidget* w : windows)
            if (w->objectName() == QLatin1String("frmDialog") && w->isVisible())
                dialog = w;
        if (!dialog)
            return;
        if (!typed.isEmpty())
            dialog->findChild<QLineEdit*>(QStringLiteral("txtDialogInput"))->setText(typed);
        Save(dialog, name);
        QMetaObject::invokeMethod(dialog->findChild<QObject*>(button), "click");
    });
}
} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication::setAttribute(Qt::AA_Use96Dpi);
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: vanisto-dialog-gallery OUTPUT_DIR\n");
        return 2;
    }
    QApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), 9));
    g_out = QFile::decodeName(argv[1]);
    QDir().mkpath(g_out);
    RefreshTwips();

    Photograph(QStringLiteral("dialog-yesno.png"), QString(), QStringLiteral("cmdNo"));
    ShowDialog(
        nullptr,
        QStringLiteral("You attempted to shred items from a 'Do Not Shred' folder location. These items "
                       "will NOT be shredded and were not added to the Shred List.\r\n\r\nWould you like "
                       "to modify your 'Do Not Shred' folder locations?"),
        QStringLiteral("Modify the 'Do Not Shred' List?"), false, 4, 2, false);
    Photograph(QStringLiteral("dialog-input.png"), QStringLiteral("Old tax returns"),
               QStringLiteral("cmdCancel"));
    ShowDialog(nullptr, QStringLiteral("Type a name for the items you are about to shred."),
               QStringLiteral("Name the Shred List"), true, 1, 1, true);

    frmAbout about(nullptr);
    about.Form_Load();
    about.show();
    QCoreApplication::processEvents();
    Save(&about, QStringLiteral("about.png"));
    return 0;
}
