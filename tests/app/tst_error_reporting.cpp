#include "ErrorReporting.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <stdexcept>

namespace
{

struct SeenBox {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    int buttons = 0;
};

// Watches for message boxes while `action` runs, dismissing each one as it appears.
QList<SeenBox> boxesDuring(const std::function<void()>& action)
{
    QList<SeenBox> seen;
    QTimer watcher;
    watcher.setInterval(10);
    QObject::connect(&watcher, &QTimer::timeout, [&seen] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        seen.append({box->windowTitle(), box->text(), box->icon(),
                     static_cast<int>(box->buttons().size())});
        box->button(QMessageBox::Ok)->click();
    });
    watcher.start();
    action();
    return seen;
}

// A window whose creation handler fails halfway, as a window with a broken catalog would.
class FailingWindow final : public QWidget
{
public:
    FailingWindow()
    {
        guarded([this] { FormCreate(); });
    }
    bool reachedBeforeFailure = false;

private:
    void FormCreate()
    {
        reachedBeforeFailure = true;
        throw std::runtime_error("cdxtb: Missing data provider or data packet");
    }
};

} // namespace

class ErrorReportingTest final : public QObject
{
    Q_OBJECT

private slots:
    void errorEscapingAHandlerShowsOneBoxAndTheProgramGoesOn()
    {
        int stateReached = 0;
        QPushButton button;
        QObject::connect(&button, &QPushButton::clicked, [&stateReached] {
            guarded([&stateReached] {
                stateReached = 1;
                throw std::runtime_error("Não");
            });
        });
        const auto boxes = boxesDuring([&button] { button.click(); });

        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes[0].text, QStringLiteral("Não."));
        QCOMPARE(boxes[0].title, QStringLiteral("tst_error_reporting"));
        QCOMPARE(boxes[0].icon, QMessageBox::Critical);
        QCOMPARE(boxes[0].buttons, 1);
        QCOMPARE(stateReached, 1);

        // The next event is handled as usual.
        const auto none = boxesDuring([&button, &stateReached] {
            stateReached = 0;
            QTimer::singleShot(0, [&stateReached] { stateReached = 2; });
            QTRY_COMPARE(stateReached, 2);
        });
        QVERIFY(none.isEmpty());
    }

    void errorEscapingACreationHandlerStillGivesAShownWindow()
    {
        std::unique_ptr<FailingWindow> window;
        const auto boxes = boxesDuring([&window] { window = std::make_unique<FailingWindow>(); });
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes[0].text, QStringLiteral("cdxtb: Missing data provider or data packet."));
        QVERIFY(window->reachedBeforeFailure);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }
};

QTEST_MAIN(ErrorReportingTest)
#include "tst_error_reporting.moc"
