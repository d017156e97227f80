#include "FormsTesting.h"
#include "FundI.h"
#include "Main.h"
#include "TShockwaveFlash.h"
#include "WindowSlots.h"

#include <QScreen>
#include <QTest>

#include <memory>

// The menus on a real X server: the subject menu's background must really show the grade menu
// behind it, which only the window system's shaping can prove.
class MenusOnX11Test final : public QObject
{
    Q_OBJECT

private:
    EmptyProgramFolder m_folder;

    static QColor onScreen(const QPoint& global)
    {
        const QImage screen = QGuiApplication::primaryScreen()->grabWindow(0).toImage();
        return screen.pixelColor(global);
    }

private slots:
    void subjectMenuShowsTheGradeMenuThroughItsBackground_data()
    {
        QTest::addColumn<QString>("yearTile");
        QTest::addColumn<QString>("caption");
        QTest::newRow("1A") << QStringLiteral("SWFinf") << QStringLiteral("1º Ano - Fundamental I");
        QTest::newRow("4A") << QStringLiteral("swftem") << QStringLiteral("4º Ano - Fundamental I");
    }

    void subjectMenuShowsTheGradeMenuThroughItsBackground()
    {
        QFETCH(QString, yearTile);
        QFETCH(QString, caption);
        QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));

        TFRMmain menu;
        FRMmain = &menu;
        menu.show();
        QVERIFY(QTest::qWaitForWindowExposed(&menu));
        menu.activateWindow(); // there is no window manager to do it
        QTRY_COMPARE(QApplication::activeWindow(), &menu);

        bool checked = false;
        ModalWatch<TFRMfundI> subjects([&](TFRMfundI* window) {
            QVERIFY(QTest::qWaitForWindowExposed(window));
            QCOMPARE(window->windowTitle(), caption);
            menu.Timer1Timer();
            QTRY_COMPARE(window->pos(), menu.pos());
            const QColor key(0x00, 0xFF, 0x40);
            // Left of the panel and above it, the grade menu shows: its backdrop and brand line.
            for (const QPoint& see : {QPoint(20, 300), QPoint(150, 60), QPoint(400, 520)}) {
                const QPoint global = window->mapToGlobal(see);
                QTRY_VERIFY2(onScreen(global) != key, qPrintable(QString::number(see.x())));
                QCOMPARE(onScreen(global),
                         menu.grab().toImage().pixelColor(menu.mapFromGlobal(global)));
            }
            // The panel is the subject menu's own.
            QCOMPARE(onScreen(window->mapToGlobal(QPoint(64, 300))), QColor(0xDB, 0xF8, 0xF9));
            checked = true;
            emit window->findChild<TShockwaveFlash*>(QStringLiteral("SWFvoltar"))
                ->FSCommand(QStringLiteral("Voltar"), QString());
        });
        auto* year = menu.findChild<TShockwaveFlash*>(yearTile);
        QTest::mouseClick(year, Qt::LeftButton);
        QTest::mouseClick(year, Qt::LeftButton);
        QVERIFY(checked);
        QCOMPARE(FRMfundI, nullptr);
        QVERIFY(year->isVisible());
        FRMmain = nullptr;
    }
};

QTEST_MAIN(MenusOnX11Test)
#include "e2e_menus.moc"
