#include "TestEnvironment.h"
#include "skin/frmPics.h"

#include <QApplication>
#include <QtTest>

class TestFrmPics : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void pictureSizes_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QSize>("size");
        QTest::newRow("ImgFill") << "ImgFill" << QSize(100, 100);
        for (const char* name : {"imgTitle0", "imgTitle1", "imgTitle2", "imgWindowBottom", "imgWindowLeft",
                                 "imgWindowRight", "imgWindowBottomLeft", "imgWindowBottomRight"})
            QTest::newRow(name) << QString::fromLatin1(name) << QSize(19, 30);
        QTest::newRow("imgBar") << "imgBar" << QSize(103, 30);
        QTest::newRow("imgblack") << "imgblack" << QSize(150, 30);
        QTest::newRow("ImgLogo") << "ImgLogo" << QSize(160, 35);
        for (const char* name : {"ImgIcon", "imginformation", "imgquestion", "imgexclamation", "imgcritical"})
            QTest::newRow(name) << QString::fromLatin1(name) << QSize(32, 32);
    }
    void pictureSizes()
    {
        QFETCH(QString, name);
        QFETCH(QSize, size);
        const QPixmap picture = frmPics::Picture(name);
        QVERIFY2(!picture.isNull(), qPrintable(name));
        QCOMPARE(picture.size(), size);
    }

    void theOtherNamedPicturesExist()
    {
        for (const char* name :
             {"ImgOptionBar", "ImgOptionBarWhite", "ImgFrame", "imgFileFrame", "ImgDoNotShred",
              "imgShredNormal", "imgShredEnhanced", "imgShredUltra", "ImgInstant", "imgwipes", "ImgContext",
              "imgContainer", "imgAdFrame", "ImgAdOrange", "ImgAdGrey", "ImgIconOLD"})
            QVERIFY2(!frmPics::Picture(QLatin1String(name)).isNull(), name);
        QVERIFY(frmPics::Picture(QStringLiteral("imgTitle")).isNull());
    }

    void iconsAreTransparentOutsideTheirShape()
    {
        for (const char* name : {"ImgIcon", "imginformation", "imgexclamation"}) {
            const QImage icon = frmPics::Picture(QLatin1String(name)).toImage();
            QCOMPARE(qAlpha(icon.pixel(0, 0)), 0);
            QCOMPARE(qAlpha(icon.pixel(16, 16)), 255);
        }
    }

    // Every image button of every window has its four pictures, all of one size.
    void buttonsOfTheWindows_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("control");
        const QMap<QString, QStringList> buttons = {
            {QStringLiteral("frmMainCode"),
             {QStringLiteral("btnClose"), QStringLiteral("BtnAbout"), QStringLiteral("btnBall"),
              QStringLiteral("btnCancel"), QStringLiteral("btnContract"), QStringLiteral("btnExpand"),
              QStringLiteral("btnHide"), QStringLiteral("btnNo"), QStringLiteral("btnOptions"),
              QStringLiteral("btnShow"), QStringLiteral("btnShred"), QStringLiteral("btnYes")}},
            {QStringLiteral("frmOptions"),
             {QStringLiteral("btnClose"), QStringLiteral("btnFastShred"), QStringLiteral("btnInstant"),
              QStringLiteral("btnSafeShred"), QStringLiteral("btnWipes"), QStringLiteral("cmdTutorial")}},
            {QStringLiteral("frmDialog"),
             {QStringLiteral("btnClose"), QStringLiteral("btnYes"), QStringLiteral("cmdOK"),
              QStringLiteral("cmdNo"), QStringLiteral("cmdCancel"), QStringLiteral("cmdSysInfo")}},
            {QStringLiteral("frmAbout"),
             {QStringLiteral("btnClose"), QStringLiteral("cmdOK"), QStringLiteral("cmdSysInfo"),
              QStringLiteral("cmdTutorial")}},
            {QStringLiteral("frmTutorial"),
             {QStringLiteral("btnClose"), QStringLiteral("btnBack"), QStringLiteral("btnNext"),
              QStringLiteral("btnNo"), QStringLiteral("btnOptions"), QStringLiteral("btnYes")}},
            {QStringLiteral("frmAd"), {QStringLiteral("btnClose")}},
        };
        for (auto it = buttons.cbegin(); it != buttons.cend(); ++it)
            for (const QString& control : it.value())
                QTest::newRow(qPrintable(it.key() + QLatin1Char('.') + control)) << it.key() << control;
    }
    void buttonsOfTheWindows()
    {
        QFETCH(QString, window);
        QFETCH(QString, control);
        const ButtonImages images = frmPics::ButtonFor(window, control);
        QVERIFY(!images.up.isNull() && !images.hot.isNull() && !images.down.isNull() &&
                !images.disabled.isNull());
        QCOMPARE(images.hot.size(), images.up.size());
        QCOMPARE(images.down.size(), images.up.size());
        QCOMPARE(images.disabled.size(), images.up.size());
        QVERIFY(images.up.toImage() != images.hot.toImage());
    }

    void dialogButtonsAreOneSize()
    {
        // 1110 x 375 twips at 15 twips per pixel.
        for (const char* control : {"cmdOK", "btnYes", "cmdNo", "cmdCancel", "cmdSysInfo"})
            QCOMPARE(frmPics::ButtonFor(QStringLiteral("frmDialog"), QLatin1String(control)).up.size(),
                     QSize(74, 25));
        QCOMPARE(frmPics::ButtonFor(QStringLiteral("frmOptions"), QStringLiteral("btnWipes")).up.size(),
                 QSize(32, 35));
        QVERIFY(frmPics::ButtonFor(QStringLiteral("frmAd"), QStringLiteral("cmdOK")).up.isNull());
    }
};

VANISTO_TEST_GUI_MAIN(TestFrmPics)
#include "tst_frmpics.moc"
