// Pelorix: the sliding-block picture puzzle in its Qt window, or a screen-saver module in a foreign window.
#include <QApplication>
#include <filesystem>

#include "app/saver.h"
#include "game/puzzlemaker2.h"
#include "platform/qt/qtplatform.h"

int main(int argc, char** argv) {
    // Decided before any window exists: a screen saver draws into a window that is not its own.
    if (const auto status = pelorix::app::runSaverIfAsked(argc, argv)) return *status;

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pelorix"));
    pelorix::QtPlatform platform(std::filesystem::current_path());
    pelorix::puzzlemaker2 game(platform);
    // The game starts when its window is first on screen.
    platform.showWindow();
    game.Form_Activate();  // returns once the window was closed or Quit chosen
    return 0;
}
