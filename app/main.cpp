// Pelorix: the sliding-block picture puzzle in its Qt window, playing in the current folder.
#include <QApplication>
#include <filesystem>

#include "game/puzzlemaker2.h"
#include "platform/qt/qtplatform.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pelorix"));
    pelorix::QtPlatform platform(std::filesystem::current_path());
    pelorix::puzzlemaker2 game(platform);
    // The game starts when its window is first on screen.
    platform.showWindow();
    game.Form_Activate();  // returns once the window was closed or Quit chosen
    return 0;
}
