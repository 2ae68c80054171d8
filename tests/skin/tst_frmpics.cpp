#include "SkinTestKit.h"
#include "skin/frmPics.h"

namespace {
void Rows(const char* what, const char* names, const std::function<QVariant(const QString&)>& got,
          const QVariant& want)
{
    for (const QString& name : QString::fromLatin1(names).split(u' '))
        QTest::addRow("%s %s", what, qPrintable(name)) << got(name) << want;
}

// A button has its four pictures, all of one size, and the hot one differs from the resting one.
QVariant Complete(const QString& windowDotControl)
{
    const QStringList parts = windowDotControl.split(u'.');
    const ButtonImages b = frmPics::ButtonFor(parts.at(0), parts.at(1));
    const QSize size = b.up.size();
    return !b.up.isNull() && b.hot.size() == size && b.down.size() == size && b.disabled.size() == size &&
           b.up.toImage() != b.hot.toImage();
}
} // namespace

class TestFrmPics : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void pictures_data()
    {
        SkinTestKit::Columns();
        // The frame's arithmetic counts on these sizes.
        const auto size = [](const QString& name) { return QVariant(frmPics::Picture(name).size()); };
        Rows("size", "ImgFill", size, QSize(100, 100));
        Rows("size",
             "imgTitle0 imgTitle1 imgTitle2 imgWindowBottom imgWindowLeft imgWindowRight imgWindowBottomLeft "
             "imgWindowBottomRight",
             size, QSize(19, 30));
        Rows("size", "imgBar", size, QSize(103, 30));
        Rows("size", "imgblack", size, QSize(150, 30));
        Rows("size", "ImgLogo", size, QSize(160, 35));
        Rows("size", "ImgIcon imginformation imgquestion imgexclamation imgcritical", size, QSize(32, 32));
        const auto exists = [](const QString& name) { return QVariant(!frmPics::Picture(name).isNull()); };
        Rows("exists",
             "ImgOptionBar ImgOptionBarWhite ImgFrame imgFileFrame ImgDoNotShred imgShredNormal "
             "imgShredEnhanced "
             "imgShredUltra ImgInstant imgwipes ImgContext imgContainer imgAdFrame ImgAdOrange ImgAdGrey "
             "ImgIconOLD",
             exists, true);
        Rows("exists", "imgTitle", exists, false);
        const auto shape = [](const QString& name) {
            const QImage icon = frmPics::Picture(name).toImage();
            return QVariant(QVariantList{qAlpha(icon.pixel(0, 0)), qAlpha(icon.pixel(16, 16))});
        };
        Rows("see-through outside", "ImgIcon imginformation imgexclamation", shape, QVariantList{0, 255});

        Rows("complete",
             "frmMainCode.btnClose frmMainCode.BtnAbout frmMainCode.btnBall frmMainCode.btnCancel "
             "frmMainCode.btnContract frmMainCode.btnExpand frmMainCode.btnHide frmMainCode.btnNo "
             "frmMainCode.btnOptions frmMainCode.btnShow frmMainCode.btnShred frmMainCode.btnYes "
             "frmOptions.btnClose "
             "frmOptions.btnFastShred frmOptions.btnInstant frmOptions.btnSafeShred frmOptions.btnWipes "
             "frmOptions.cmdTutorial frmDialog.btnClose frmDialog.btnYes frmDialog.cmdOK frmDialog.cmdNo "
             "frmDialog.cmdCancel frmDialog.cmdSysInfo frmAbout.btnClose frmAbout.cmdOK frmAbout.cmdSysInfo "
             "frmAbout.cmdTutorial frmTutorial.btnClose frmTutorial.btnBack frmTutorial.btnNext "
             "frmTutorial.btnNo "
             "frmTutorial.btnOptions frmTutorial.btnYes frmAd.btnClose",
             Complete, true);
        Rows("complete", "frmAd.cmdOK", Complete, false);
        // The dialog's buttons are 1110 x 375 twips.
        const auto up = [](const QString& control) {
            return QVariant(frmPics::ButtonFor(u"frmDialog"_s, control).up.size());
        };
        Rows("frmDialog size", "cmdOK btnYes cmdNo cmdCancel cmdSysInfo", up, QSize(74, 25));
        SkinTestKit::Row("frmOptions size btnWipes",
                         frmPics::ButtonFor(u"frmOptions"_s, u"btnWipes"_s).up.size(), QSize(32, 35));
    }
    void pictures() { SKIN_COMPARE_ROW(); }
};

VANISTO_TEST_GUI_MAIN(TestFrmPics)
#include "tst_frmpics.moc"
