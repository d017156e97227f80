#include "QtTranslations.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>

#include <memory>

// What a child sees of Qt's own texts, on a system in English (as CI's is).
class QtTranslationsTest final : public QObject
{
    Q_OBJECT

private slots:
    void qtsOwnTextsArePortuguese()
    {
        QVERIFY(installQtTranslations());

        QLineEdit search;
        const std::unique_ptr<QMenu> menu(search.createStandardContextMenu());
        QStringList texts;
        for (const QAction* action : menu->actions())
            texts.append(action->text().section(QLatin1Char('\t'), 0, 0));
        QVERIFY2(texts.contains(QStringLiteral("&Copiar")), qPrintable(texts.join(u'|')));
        QVERIFY2(texts.contains(QStringLiteral("Selecionar tudo")), qPrintable(texts.join(u'|')));

        QDialogButtonBox buttons(QDialogButtonBox::Cancel);
        QCOMPARE(buttons.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Cancelar"));
    }
};

QTEST_MAIN(QtTranslationsTest)
#include "tst_qt_translations.moc"
