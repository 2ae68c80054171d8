#include "TutorialOpener.h"

namespace {
std::function<void(QWidget*)>& Opener()
{
    static std::function<void(QWidget*)> opener;
    return opener;
}
} // namespace

void SetTutorialOpener(std::function<void(QWidget* mainWindow)> opener)
{
    Opener() = std::move(opener);
}

void OpenTutorialWindow(QWidget* mainWindow)
{
    if (Opener())
        Opener()(mainWindow);
}
