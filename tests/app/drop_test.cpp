// SPDX-License-Identifier: MIT
// Pictures dropped on the real window (offscreen), or put into its folder by other programs: they
// join the open list, and the puzzle in play does not change.
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QMimeData>
#include <QTest>
#include <QUrl>

#include "hostile.h"
#include "window/dropimport.h"
#include "qtgame.h"
#include "testfiles.h"

namespace pelorix::testing {
namespace {

class Drop : public QtGame {
protected:
    void SetUp() override {
        QtGame::SetUp();
        ASSERT_TRUE(outside.isValid());
        wakeOften();
        writeBytes(work() / "harbour.regular_picture", pngBytes(1));
    }

    // A file in a folder of its own, as a file manager would offer it.
    QString fileOutside(const std::string& name, const QByteArray& bytes) {
        const auto path = std::filesystem::path(outside.path().toStdString()) / name;
        writeBytes(path, bytes);
        return qpath(path);
    }

    // Drags `files` over `target` and drops them at `at` (its middle unless given), as a file manager
    // does; true if both the drag and the drop were taken, as copies.
    static bool dropFiles(QWidget* target, const QStringList& files, QPoint at = {-1, -1}) {
        QMimeData mime;
        QList<QUrl> urls;
        for (const QString& f : files) urls << QUrl::fromLocalFile(f);
        mime.setUrls(urls);
        if (at.x() < 0) at = QPoint(target->width() / 2, target->height() / 2);
        QDragEnterEvent enter(at, Qt::CopyAction | Qt::MoveAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &enter);
        QDropEvent drop(QPointF(at), Qt::CopyAction | Qt::MoveAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &drop);
        return enter.isAccepted() && drop.isAccepted() && drop.dropAction() == Qt::CopyAction;
    }

    QStringList shown(Control list) const {
        auto* widget = static_cast<QListWidget*>(platform->widget(list));
        QStringList names;
        for (int i = 0; i < widget->count(); ++i) names << widget->item(i)->text();
        return names;
    }
    void clickCanvas(int x, int y) {
        QTest::mouseClick(platform->window()->windowHandle(), Qt::LeftButton, {},
                          platform->canvasWidget()->mapTo(platform->window(), QPoint(x, y)));
    }
    // One step a yield of the way to the set-up screen with its first regular picture (the
    // harbour) picked: the title click, then the click on the entry. True, from the yield after
    // the entry's click, once the game has taken the pick.
    bool harbourPickedOnSetUpScreen(int& stage) {
        if (stage == 2) return platform->text(Control::Text3) == "harbour.regular_picture";
        if (stage == 0 && built()) {
            clickCanvas(300, 200);
            stage = 1;
        } else if (stage == 1 && platform->widget(Control::File1)->isVisible()) {
            auto* list = static_cast<QListWidget*>(platform->widget(Control::File1));
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(0)).center());
            stage = 2;
        }
        return false;
    }

    QTemporaryDir outside;
};

TEST_F(Drop, AnOpenSetUpScreenListsTheNewPictureAndKeepsThePick) {
    const QString photo = fileOutside("Strand im Mai ü.jpg", pngBytes(2));
    const QString notes = fileOutside("notes.png", "not a picture at all");
    int stage = 0;
    platform->afterYield = [&] {
        if (stage < 3 && harbourPickedOnSetUpScreen(stage)) {
            EXPECT_TRUE(dropFiles(platform->canvasWidget(), {notes, photo}));
            EXPECT_EQ(platform->pendingEvents(), 0u);  // nothing for the game: not even a list click
            stage = 3;
        } else if (stage == 3) {
            stage = 4;  // one more yield: nothing the drop did may reach the game
        }
    };
    runUntil([&] { return stage == 4; });
    ASSERT_EQ(stage, 4);
    EXPECT_EQ(shown(Control::File1).join(u'|').toStdString(), "harbour.regular_picture|Strand im Mai ü.regular_picture");
    EXPECT_EQ(platform->listCount(Control::File1), 2);
    EXPECT_EQ(platform->listEntry(Control::File1, 1), "Strand im Mai ü.regular_picture");
    EXPECT_EQ(platform->listIndex(Control::File1), 0);  // the user's pick stays picked
    EXPECT_EQ(platform->text(Control::Text3), "harbour.regular_picture");
    // Prepared for the board as the window shows it.
    EXPECT_EQ(pictureSize(work() / "Strand im Mai ü.regular_picture"), QSize(platform->clientWidth(), platform->clientHeight()));
    EXPECT_FALSE(std::filesystem::exists(work() / "notes.regular_picture"));
    EXPECT_TRUE(std::filesystem::exists(outside.path().toStdString() + "/Strand im Mai ü.jpg"));  // copied, not moved
}

TEST_F(Drop, AnEmptyFolderShowsTheWayUntilAPictureArrives) {
    std::filesystem::remove(work() / "harbour.regular_picture");
    const QString photo = fileOutside("a picture with a long name.png", pngBytes(4));
    int stage = 0;
    bool noteOnEmptyScreen = false, noteAfterDrop = true;
    platform->afterYield = [&] {
        if (stage == 0 && built()) {
            clickCanvas(300, 200);
            stage = 1;
        } else if (stage == 1 && platform->widget(Control::File1)->isVisible()) {
            noteOnEmptyScreen = platform->emptyNote()->isVisible();
            EXPECT_TRUE(dropFiles(platform->canvasWidget(), {photo}));
            stage = 2;
        } else if (stage == 2) {
            noteAfterDrop = platform->emptyNote()->isVisible();
            stage = 3;
        }
    };
    runUntil([&] { return stage == 3; });
    ASSERT_EQ(stage, 3);
    EXPECT_TRUE(noteOnEmptyScreen);
    EXPECT_FALSE(noteAfterDrop);
    // The list's narrow entries carry their whole names as tool tips.
    const auto* list = static_cast<QListWidget*>(platform->widget(Control::File1));
    ASSERT_EQ(list->count(), 1);
    EXPECT_EQ(list->item(0)->toolTip(), QStringLiteral("a picture with a long name.regular_picture"));
}

TEST_F(Drop, ThePuzzleInPlayIsUntouched) {
    const QString photo = fileOutside("harbour.png", pngBytes(3));  // its name is taken: it gets a number
    int stage = 0;
    Grid boardBefore{};
    int holexBefore = 0, holeyBefore = 0, placedBefore = 0;
    std::string fileBefore;
    QImage canvasBefore;
    std::string captionBefore;
    int stateBefore = 0;
    platform->afterYield = [&] {
        switch (stage) {
            case 0:
                if (built()) {
                    clickCanvas(300, 200);
                    stage = 1;
                }
                break;
            case 1:
                if (!platform->widget(Control::Command1)->isVisible()) break;
                QTest::mouseClick(platform->widget(Control::Command1), Qt::LeftButton);
                stage = 2;
                break;
            case 2:
                if (platform->caption() != "Pelorix-(Solving regular puzzle)") break;
                boardBefore = game->puzzle.board;
                holexBefore = game->puzzle.holex;
                holeyBefore = game->puzzle.holey;
                placedBefore = game->puzzle.placedcount;
                fileBefore = game->puzzle.picturefile;
                canvasBefore = platform->canvas().image().copy();
                captionBefore = platform->caption();
                stateBefore = game->loop.puzzlestate;
                {
                    // A click on a piece beside the hole and an arrow key, made while the drop is
                    // prepared: dropped with the busy cursor, never handed to the game later.
                    const PuzzleState& s = game->puzzle;
                    const int column = s.holex < s.puzzlewidth ? s.holex + 1 : s.holex - 1;
                    const QPoint piece(game->cellx(column) + s.piecewidth / 2, game->celly(s.holey) + s.pieceheight / 2);
                    QWidget* board = platform->canvasWidget();
                    QCoreApplication::postEvent(board, new QMouseEvent(QEvent::MouseButtonPress, piece, board->mapToGlobal(piece),
                                                                       Qt::LeftButton, Qt::LeftButton, {}));
                    QCoreApplication::postEvent(board, new QKeyEvent(QEvent::KeyPress, Qt::Key_Left, {}));
                }
                // On the board, and on a text box that would otherwise take the path as text.
                EXPECT_TRUE(dropFiles(platform->canvasWidget(), {photo}));
                EXPECT_TRUE(dropFiles(platform->widget(Control::Text1), {photo}));
                EXPECT_EQ(platform->pendingEvents(), 0u);
                stage = 3;
                break;
            default:
                ++stage;  // a few passes of the loop after the drops
        }
    };
    runUntil([&] { return stage == 8; });
    ASSERT_EQ(stage, 8);
    EXPECT_TRUE(boardBefore == game->puzzle.board);
    EXPECT_EQ(holexBefore, game->puzzle.holex);
    EXPECT_EQ(holeyBefore, game->puzzle.holey);
    EXPECT_EQ(placedBefore, game->puzzle.placedcount);
    EXPECT_EQ(fileBefore, game->puzzle.picturefile);
    EXPECT_EQ(game->loop.puzzlestate, stateBefore);
    EXPECT_EQ(platform->caption(), captionBefore);
    EXPECT_TRUE(platform->canvas().image() == canvasBefore);
    EXPECT_EQ(platform->text(Control::Text1), "4");
    // Both copies arrived, under new numbers, and the hidden list knows them for the next panel.
    EXPECT_EQ(platform->listCount(Control::File1), 3);
    EXPECT_EQ(readBytes(work() / "harbour.regular_picture"), pngBytes(1));
    const QSize board(platform->clientWidth(), platform->clientHeight());
    EXPECT_EQ(pictureSize(work() / "harbour 2.regular_picture"), board);
    EXPECT_EQ(pictureSize(work() / "harbour 3.regular_picture"), board);
}

TEST_F(Drop, ADroppedPictureBecomesAPlayablePuzzle) {
    const QString photo = fileOutside("cat.jpeg", pngBytes(5, 320, 240));
    int stage = 0;
    QSize board;
    platform->afterYield = [&] {
        if (stage == 0 && built()) {
            clickCanvas(300, 200);
            platform->window()->resize(900, 600);  // the picture is made for the board as it is now
            stage = 1;
        } else if (stage == 1 && platform->widget(Control::File1)->isVisible()) {
            board = QSize(platform->clientWidth(), platform->clientHeight());
            EXPECT_TRUE(dropFiles(platform->canvasWidget(), {photo}));
            auto* list = static_cast<QListWidget*>(platform->widget(Control::File1));
            const auto found = list->findItems(QStringLiteral("cat.regular_picture"), Qt::MatchExactly);
            ASSERT_EQ(found.size(), 1);
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(found.first()).center());
            stage = 2;
        } else if (stage == 2 && platform->text(Control::Text3) == "cat.regular_picture") {
            QTest::mouseClick(platform->widget(Control::Command1), Qt::LeftButton);
            stage = 3;
        } else if (stage == 3 && platform->caption() == "Pelorix-(Solving regular puzzle)") {
            stage = 4;
        }
    };
    runUntil([&] { return stage == 4; });
    ASSERT_EQ(stage, 4);
    EXPECT_EQ(game->puzzle.picturefile, "cat.regular_picture");
    // The small picture was scaled up to cover the board it was dropped on.
    EXPECT_GT(board.width(), 754);
    EXPECT_EQ(platform->windowPicture().size(), board);
}

TEST_F(Drop, AnOpenPicturePanelListsTheNewPicture) {
    const QString photo = fileOutside("bridge.bmp", pngBytes(6));
    int stage = 0;
    platform->afterYield = [&] {
        if (stage == 0 && built()) {
            clickCanvas(300, 200);
            stage = 1;
        } else if (stage == 1 && platform->widget(Control::Command1)->isVisible()) {
            QTest::mouseClick(platform->widget(Control::Command1), Qt::LeftButton);
            stage = 2;
        } else if (stage == 2 && platform->caption() == "Pelorix-(Solving regular puzzle)") {
            platform->action(Menu::choosepicture)->trigger();
            stage = 3;
        } else if (stage == 3 && game->loop.puzzlestate == -5 && platform->widget(Control::File1)->isVisible()) {
            EXPECT_TRUE(dropFiles(platform->widget(Control::File1)->parentWidget(), {photo}));
            EXPECT_EQ(shown(Control::File1).join(u'|').toStdString(), "bridge.regular_picture|harbour.regular_picture");
            EXPECT_EQ(game->loop.puzzlestate, -5);  // the panel stays open, play stays paused
            QTest::mouseClick(platform->widget(Control::Command3), Qt::LeftButton);
            stage = 4;
        } else if (stage == 4 && game->loop.puzzlestate == 3) {
            stage = 5;
        }
    };
    runUntil([&] { return stage == 5; });
    EXPECT_EQ(stage, 5);
    EXPECT_EQ(game->puzzle.picturefile, "harbour.regular_picture");
}

TEST_F(Drop, ANoteAtTheDropPointTellsWhatWasAddedAndWhatNotForItsTime) {
    const QString photo = fileOutside("beach.png", pngBytes(7));
    const QString notes = fileOutside("notes.txt", "shopping list");
    QWidget* board = platform->canvasWidget();
    auto* note = board->findChild<QLabel*>(QStringLiteral("dropnote"));
    ASSERT_NE(note, nullptr);
    auto* drops = static_cast<qt::DropImport*>(board->findChild<QObject*>(QStringLiteral("dropimport")));
    ASSERT_NE(drops, nullptr);
    // A twentieth of the note's time, so the test need not wait two seconds to see it go.
    const int noteTime = qt::DropImport::noteMs / 20;
    drops->setNoteTime(noteTime);
    const std::string caption = platform->caption();

    // While a large photo is prepared the window answers, under a busy cursor: a timer due at
    // once fires before the drop is done.
    const QString large = fileOutside("large.jpg", encoded(patterned(1500, 1000), "JPG", 90));
    bool answered = false;
    QTimer::singleShot(0, [&] {
        answered = QGuiApplication::overrideCursor() && QGuiApplication::overrideCursor()->shape() == Qt::BusyCursor;
    });
    EXPECT_TRUE(dropFiles(board, {large}));
    EXPECT_TRUE(answered);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);

    EXPECT_TRUE(dropFiles(board, {photo, notes}, QPoint(200, 100)));
    EXPECT_TRUE(note->isVisible());
    EXPECT_EQ(note->pos(), QPoint(200, 100));
    EXPECT_EQ(note->text().toStdString(), "beach.png: added as beach.regular_picture\nnotes.txt: not a picture; nothing added");

    // Nothing added: the source hears no "copy"; near the corner the note is moved in to fit.
    EXPECT_FALSE(dropFiles(platform->widget(Control::Text1), {notes}, QPoint(1, 1)));
    QElapsedTimer sinceDrop;  // started before the note is, so it cannot be shown for longer
    sinceDrop.start();
    EXPECT_FALSE(dropFiles(board, {notes}, QPoint(board->width() - 2, board->height() - 2)));
    EXPECT_EQ(note->text().toStdString(), "notes.txt: not a picture; nothing added");
    EXPECT_TRUE(board->rect().contains(note->geometry()));
    EXPECT_EQ(platform->caption(), caption);
    EXPECT_EQ(platform->pendingEvents(), 0u);

    while (note->isVisible() && sinceDrop.elapsed() < 20000) pump(10);
    EXPECT_FALSE(note->isVisible());
    // Shown for its time, not gone at once (a coarse timer may end up to a twentieth early).
    EXPECT_GE(sinceDrop.elapsed(), noteTime * 19 / 20);
}

TEST_F(Drop, AnOpenListFollowsTheFolderAndThePickStays) {
    writeBytes(work() / "old.regular_picture", pngBytes(2));
    int stage = 0;
    int stateBefore = 0;
    platform->afterYield = [&] {
        if (stage < 3 && harbourPickedOnSetUpScreen(stage)) {
            stateBefore = game->loop.puzzlestate;
            // Another program adds two pictures and removes one.
            writeBytes(work() / "beach.regular_picture", pngBytes(3));
            writeBytes(work() / "comet.animation_picture", pngBytes(4));
            std::filesystem::remove(work() / "old.regular_picture");
            stage = 3;
        } else if (stage == 3 && shown(Control::File1).join(u'|') == "beach.regular_picture|harbour.regular_picture" &&
                   shown(Control::File2).join(u'|') == "comet.animation_picture") {
            stage = 4;
        }
    };
    runUntil([&] { return stage == 4; });
    ASSERT_EQ(stage, 4) << shown(Control::File1).join(u'|').toStdString();
    EXPECT_EQ(platform->listCount(Control::File1), 2);
    EXPECT_EQ(platform->listIndex(Control::File1), 1);  // the pick moved down a row and stays picked
    EXPECT_EQ(platform->listIndex(Control::File2), -1);
    EXPECT_EQ(platform->text(Control::Text3), "harbour.regular_picture");
    EXPECT_EQ(game->loop.puzzlestate, stateBefore);
}

TEST_F(Drop, OtherDragsAreLeftAlone) {
    QMimeData mime;
    mime.setText(QStringLiteral("just text"));
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    enter.ignore();
    QCoreApplication::sendEvent(platform->canvasWidget(), &enter);
    EXPECT_FALSE(enter.isAccepted());
    EXPECT_FALSE(dropFiles(platform->canvasWidget(), {}));
}

}  // namespace
}  // namespace pelorix::testing
