// vanisto-skin-gallery OUTPUT_DIR
//
// Builds sample skinned windows in their states (the main window's layouts idle and during a run, the
// message dialog with each icon, every image button in its four states,
// the progress bar, the slider with its value tip and a tooltip) and writes a picture of
// each into OUTPUT_DIR, so that the skin can be looked at without running the program.
#include "common/SharedState.h"
#include "skin/MyTopButton.h"
#include "skin/SkinColor.h"
#include "skin/TipWindow.h"
#include "skin/cpvProgressBar.h"
#include "skin/ctlSlider.h"
#include "skin/frmPics.h"
#include "skin/frmValueTip.h"
#include "skin/modSkinForm.h"

#include <QApplication>
#include <QDir>
#include <QFontDatabase>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include <cstdio>

namespace {
QString g_out;

QLabel* Label(QWidget* parent, const QString& name, const QString& text, const QPoint& at, int pointSize = 9,
              bool bold = false, quint32 color = 0xFFFFFF)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    QFont font = label->font();
    font.setPointSize(pointSize);
    font.setBold(bold);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, ColorFromValue(color));
    label->setPalette(palette);
    label->adjustSize();
    label->move(at);
    return label;
}

MyTopButton* Button(QWidget* window, const QString& name, const QPoint& at = QPoint())
{
    auto* button = new MyTopButton(window);
    button->setObjectName(name);
    button->SetImages(frmPics::ButtonFor(window->objectName(), name));
    button->move(at);
    return button;
}

QLabel* Picture(QWidget* parent, const QString& name, const QString& image, const QPoint& at = QPoint())
{
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setPixmap(frmPics::Picture(image));
    label->adjustSize();
    label->move(at);
    return label;
}

void Hover(MyTopButton* button)
{
    QMouseEvent move(QEvent::MouseMove, QPointF(button->width() / 2.0, button->height() / 2.0),
                     button->mapToGlobal(QPointF(button->width() / 2.0, button->height() / 2.0)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(button, &move);
}

// The picture of a window as the screen shows it: its outline cut out, on a plain desktop
// with a soft shadow.
QImage OnDesktop(QWidget* window, const QList<QPair<QWidget*, QPoint>>& extras = {})
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
    painter.save();
    painter.translate(margin, margin);
    if (!window->mask().isEmpty())
        painter.setClipRegion(window->mask());
    painter.drawPixmap(0, 0, window->grab());
    painter.restore();
    for (const auto& [widget, at] : extras)
        painter.drawPixmap(at + QPoint(margin, margin), widget->grab());
    return image;
}

void Save(const QImage& image, const QString& name)
{
    const QString path = g_out + QLatin1Char('/') + name;
    if (!image.save(path))
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    else
        std::printf("%s\n", qPrintable(path));
}

QWidget* MainWindow(const QString& listState, int height, bool contracted)
{
    Shared().ListState = listState;
    auto* w = new QWidget;
    w->setObjectName(QStringLiteral("frmMainCode"));
    const int width = listState == QStringLiteral("showlist") && height != 46 ? 485 : 333;
    w->resize(width, height);
    Picture(w, QStringLiteral("ImgIcon"), QStringLiteral("ImgIcon"));
    Button(w, QStringLiteral("btnClose"));
    Button(w, QStringLiteral("BtnAbout"));
    Button(w, QStringLiteral("btnExpand"))->setVisible(contracted);
    Button(w, QStringLiteral("btnContract"))->setVisible(!contracted);
    Button(w, QStringLiteral("btnBall"))->hide();
    Picture(w, QStringLiteral("pic1"), QStringLiteral("ImgAdOrange"));
    Button(w, QStringLiteral("btnShred"));
    Label(w, QStringLiteral("lblshred"),
          contracted ? QStringLiteral("2 of 5") : QStringLiteral("Shred : 3 items"), QPoint(0, 14), 8, true);
    auto* small = new cpvProgressBar(w);
    small->setObjectName(QStringLiteral("bareditsmall"));
    small->SetBarPictureBack(frmPics::Picture(QStringLiteral("imgBarSmallBack")));
    small->SetBarPicture(frmPics::Picture(QStringLiteral("imgBarSmallFill")));
    (void)small->SetValue(40);
    small->setVisible(contracted);
    if (!contracted) {
        Label(w, QStringLiteral("lblPrompt"),
              QStringLiteral(
                  "Are you sure you want to shred these 3 Items?\nShredded items cannot be recovered."),
              QPoint(30, 44));
        const int row = listState == QStringLiteral("showlist") ? height - 58 : 82;
        Button(w, QStringLiteral("btnYes"), QPoint(width / 2 - 76, row));
        Button(w, QStringLiteral("btnNo"), QPoint(width / 2 + 2, row));
    }
    if (listState == QStringLiteral("showlist") && !contracted) {
        Button(w, QStringLiteral("btnHide"), QPoint(width - 100, height - 58));
        auto* list = new QLabel(w);
        list->setObjectName(QStringLiteral("Pictureframe"));
        list->setPixmap(frmPics::Picture(QStringLiteral("ImgFrame")).scaled(437, 300));
        list->adjustSize();
        list->move(24, 110);
        const QStringList items = {QStringLiteral("report-2025.odt"), QStringLiteral("bank statements"),
                                   QStringLiteral("old-passwords.txt")};
        for (int i = 0; i < items.size(); ++i)
            Label(list, QStringLiteral("item%1").arg(i), items[i], QPoint(14, 12 + 22 * i), 9, false,
                  0xF0F0F0);
        auto* slider = new ctlSlider(w);
        slider->setObjectName(QStringLiteral("myscroller"));
        (void)slider->SetSliderIcon(frmPics::Picture(QStringLiteral("imgSliderThumb")));
        slider->SetBackColor(0x4A4A4A);
        slider->resize(13, 290);
        slider->move(444, 115);
        auto* bar = new cpvProgressBar(w);
        bar->setObjectName(QStringLiteral("baredit"));
        bar->SetBarPictureBack(frmPics::Picture(QStringLiteral("imgBarBack")));
        bar->SetBarPicture(frmPics::Picture(QStringLiteral("imgBarFill")));
        bar->SetFontColor(0xFFFFFF);
        bar->SetCaptionFormat(2);
        (void)bar->SetValue(62);
        bar->move(24, 418);
    }
    MakeWindow(w, 5);
    return w;
}

// The idle layout during a run: the run's text, its progress and the Cancel button.
QWidget* ShreddingWindow()
{
    QWidget* w = MainWindow(QStringLiteral("hidelist"), 120, false);
    for (const char* hidden : {"lblPrompt", "btnYes", "btnNo"})
        w->findChild<QWidget*>(QLatin1String(hidden))->hide();
    w->findChild<QLabel*>(QStringLiteral("lblshred"))->setText(QStringLiteral("Shredding"));
    Label(w, QStringLiteral("lblPrompt2"), QStringLiteral("SHREDDING: report-2025.odt"), QPoint(30, 44));
    auto* bar = new cpvProgressBar(w);
    bar->setObjectName(QStringLiteral("baredit"));
    bar->SetBarPictureBack(frmPics::Picture(QStringLiteral("imgBarBack")));
    bar->SetBarPicture(frmPics::Picture(QStringLiteral("imgBarFill")));
    bar->SetFontColor(0xFFFFFF);
    bar->SetCaptionFormat(2);
    (void)bar->SetValue(45);
    bar->move(30, 64);
    Button(w, QStringLiteral("btnCancel"), QPoint(129, 84));
    Hover(w->findChild<MyTopButton*>(QStringLiteral("btnCancel")));
    return w;
}

void MainWindows()
{
    QWidget* hidden = MainWindow(QStringLiteral("hidelist"), 120, false);
    Hover(hidden->findChild<MyTopButton*>(QStringLiteral("btnYes")));
    Save(OnDesktop(hidden), QStringLiteral("main-hidelist.png"));
    Save(OnDesktop(ShreddingWindow()), QStringLiteral("main-shredding.png"));
    Save(OnDesktop(MainWindow(QStringLiteral("showlist"), 494, false)), QStringLiteral("main-showlist.png"));
    Save(OnDesktop(MainWindow(QStringLiteral("showlist"), 46, true)), QStringLiteral("main-contracted.png"));
}

void Dialogs()
{
    const char* names[] = {"information", "question", "exclamation", "critical"};
    const char* messages[] = {
        "The shred run has finished.", "Are you sure you want to clear the Shred list?",
        "Some items are in a 'Do Not Shred' location and were removed.",
        "Some files could not be shredded now. They will be shredded at the next start."};
    for (int kind = 1; kind <= 4; ++kind) {
        auto* w = new QWidget;
        w->setObjectName(QStringLiteral("frmDialog"));
        w->resize(319, 160);
        new QLabel(w);
        w->findChild<QLabel*>()->setObjectName(QStringLiteral("ImgIcon"));
        Label(w, QStringLiteral("lblTitle"), QStringLiteral("Vanisto"), QPoint(64, 10), 9, true);
        auto* message =
            Label(w, QStringLiteral("lblMessage"), QLatin1String(messages[kind - 1]), QPoint(64, 52));
        message->setWordWrap(true);
        message->setFixedWidth(230);
        message->adjustSize();
        Button(w, QStringLiteral("btnClose"));
        if (kind == 2) {
            Button(w, QStringLiteral("btnYes"), QPoint(86, 118));
            Button(w, QStringLiteral("cmdNo"), QPoint(160, 118));
        } else {
            Button(w, QStringLiteral("cmdOK"), QPoint(123, 118));
        }
        MakeWindow(w, kind);
        Save(OnDesktop(w), QStringLiteral("dialog-%1.png").arg(QLatin1String(names[kind - 1])));
    }
}

// Every button set in its four states, side by side on the frame's grey.
void Buttons()
{
    const QStringList sets = frmPics::ButtonSets();
    const int rowHeight = 42;
    QImage sheet(110 + 4 * 90, 30 + rowHeight * sets.size(), QImage::Format_ARGB32_Premultiplied);
    sheet.fill(ColorFromValue(SkinColor::Background));
    QPainter painter(&sheet);
    painter.setPen(QColor(0xf0, 0xf0, 0xf0));
    QFont font(QStringLiteral("DejaVu Sans"), 9);
    painter.setFont(font);
    const QStringList states = {QStringLiteral("up"), QStringLiteral("hot"), QStringLiteral("down"),
                                QStringLiteral("disabled")};
    for (int s = 0; s < states.size(); ++s)
        painter.drawText(110 + 90 * s, 20, states[s]);
    for (int i = 0; i < sets.size(); ++i) {
        const int top = 30 + rowHeight * i;
        painter.drawText(10, top + 22, sets[i]);
        const ButtonImages images = frmPics::Button(sets[i]);
        const QPixmap pictures[] = {images.up, images.hot, images.down, images.disabled};
        for (int s = 0; s < 4; ++s)
            painter.drawPixmap(110 + 90 * s, top + (rowHeight - pictures[s].height()) / 2 - 2, pictures[s]);
    }
    painter.end();
    Save(sheet, QStringLiteral("buttons.png"));
}

void Controls()
{
    auto* w = new QWidget;
    w->setObjectName(QStringLiteral("frmSample"));
    w->resize(340, 150);
    Button(w, QStringLiteral("btnClose"));
    w->findChild<MyTopButton*>()->SetImages(frmPics::Button(QStringLiteral("close")));
    Label(w, QStringLiteral("lblCaption"), QStringLiteral("Progress, slider and tips"), QPoint(16, 8), 9,
          true);
    auto* bar = new cpvProgressBar(w);
    bar->SetBarPictureBack(frmPics::Picture(QStringLiteral("imgBarBack")));
    bar->SetBarPicture(frmPics::Picture(QStringLiteral("imgBarFill")));
    bar->SetFontColor(0xFFFFFF);
    bar->SetCaptionFormat(3);
    (void)bar->SetValue(37);
    bar->move(24, 50);
    auto* slider = new ctlSlider(w);
    (void)slider->SetSliderIcon(frmPics::Picture(QStringLiteral("imgSliderThumb")));
    slider->SetBackColor(SkinColor::Background);
    slider->resize(13, 100);
    slider->move(305, 30);
    MakeWindow(w, 0);
    auto* tip = new frmValueTip;
    tip->ShowValue(QStringLiteral("7"), 1, QRect(305, 30, 13, 100), QPoint(0, 22), QSize(13, 28));
    auto* tooltip = new TipWindow;
    QFont tipFont(QStringLiteral("DejaVu Sans"), 9);
    tooltip->SetContent(QStringLiteral("Exit and return to Main Screen"), ColorFromValue(0xC0FFFF), Qt::black,
                        300, 1, tipFont);
    Save(OnDesktop(w, {{tip, tip->pos()}, {tooltip, QPoint(60, 96)}}), QStringLiteral("controls.png"));
}
} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication::setAttribute(Qt::AA_Use96Dpi);
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: vanisto-skin-gallery OUTPUT_DIR\n");
        return 2;
    }
    QApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), 9));
    g_out = QFile::decodeName(argv[1]);
    QDir().mkpath(g_out);
    RefreshTwips();
    MainWindows();
    Dialogs();
    Buttons();
    Controls();
    return 0;
}
