#include "DialogLayout.h"

#include "DialogAnswer.h"

namespace {
const QString OK = QStringLiteral("cmdOK");
const QString Yes = QStringLiteral("btnYes");
const QString No = QStringLiteral("cmdNo");
const QString Cancel = QStringLiteral("cmdCancel");
const QString SysInfo = QStringLiteral("cmdSysInfo");

QList<PlacedButton> Centred(const QString& name, float innerWidth, float buttonWidth)
{
    return {{name, (innerWidth - buttonWidth) / 2.0f}};
}

QList<PlacedButton> CentredPair(const QString& left, const QString& right, float innerWidth,
                                float buttonWidth)
{
    const float leftEdge = (innerWidth - (buttonWidth + buttonWidth)) / 2.0f;
    return {{left, leftEdge}, {right, leftEdge + buttonWidth}};
}
} // namespace

QList<PlacedButton> DialogButtonPlaces(bool withInput, qint32 buttons, float innerWidth, float buttonWidth)
{
    if (withInput)
        return {{OK, float(DialogDesign::LeftButton)}, {Cancel, float(DialogDesign::RightButton)}};
    switch (buttons) {
    case DialogButtons::Yes:
        return Centred(Yes, innerWidth, buttonWidth);
    case DialogButtons::No:
        return Centred(No, innerWidth, buttonWidth);
    case DialogButtons::YesNo:
        return CentredPair(Yes, No, innerWidth, buttonWidth);
    case DialogButtons::OKCancel:
        return CentredPair(OK, Cancel, innerWidth, buttonWidth);
    case DialogButtons::OKSystemInfo:
        return CentredPair(OK, SysInfo, innerWidth, buttonWidth);
    default: // 1, 5 and every unknown set
        return Centred(OK, innerWidth, buttonWidth);
    }
}

DialogRows DialogLayOut(int messageTop, int messageHeight, int buttonHeight, bool withInput)
{
    DialogRows rows;
    const int belowMessage = messageTop + messageHeight + DialogDesign::Gap;
    rows.inputTop = belowMessage;
    rows.buttonTop = withInput ? belowMessage + DialogDesign::InputHeight + DialogDesign::Gap : belowMessage;
    rows.height = rows.buttonTop + buttonHeight + DialogDesign::Gap;
    return rows;
}
