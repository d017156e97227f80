#pragma once

#include "ContentFolders.h"
#include "Fonts.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <functional>

// A program folder whose configuration folder holds no movies, so no player engine starts, and
// a catalog with the program's fields and no records, so the activities window opens quietly.
class EmptyProgramFolder final
{
public:
    EmptyProgramFolder()
    {
        QDir(m_folder.path()).mkpath(QStringLiteral("config"));
        QDir::setCurrent(m_folder.path());
        installFontSubstitutions();
        QFile catalog(m_folder.filePath(QStringLiteral("config/ketmo.xml")));
        if (catalog.open(QIODevice::WriteOnly))
            catalog.write(emptyCatalog);
    }

    static constexpr const char* emptyCatalog =
        R"(<?xml version="1.0" standalone="yes"?>  <DATAPACKET Version="2.0"><METADATA><FIELDS>)"
        R"(<FIELD attrname="cod_disp" fieldtype="i4"/><FIELD attrname="cod_web" fieldtype="string" WIDTH="10"/>)"
        R"(<FIELD attrname="serie" fieldtype="string" WIDTH="2"/><FIELD attrname="disciplina" fieldtype="string" WIDTH="20"/>)"
        R"(<FIELD attrname="tipo" fieldtype="string" WIDTH="12"/><FIELD attrname="descricao" fieldtype="string" WIDTH="80"/>)"
        R"(<FIELD attrname="categoria" fieldtype="string" WIDTH="20"/><FIELD attrname="caminho" fieldtype="string" WIDTH="120"/>)"
        R"(<FIELD attrname="executavel" fieldtype="string" WIDTH="1"/></FIELDS><PARAMS/></METADATA><ROWDATA/></DATAPACKET>)";

private:
    QTemporaryDir m_folder;
};

// Runs an action on each modal window of type Window as it comes up, from inside its modal
// loop, then closes the window if the action has not (a failed check returns early). Modal
// loops block, so the watch is set up first.
template <typename Window>
class ModalWatch final
{
public:
    explicit ModalWatch(std::function<void(Window*)> action)
        : m_action(std::move(action))
    {
        m_poll.setInterval(5);
        QObject::connect(&m_poll, &QTimer::timeout, [this] {
            auto* window = qobject_cast<Window*>(QApplication::activeModalWidget());
            if (!window || !window->isVisible() || window == m_last)
                return;
            m_last = window;
            ++m_seen;
            m_action(window);
            if (m_last && m_last->isVisible())
                m_last->close();
        });
        m_poll.start();
    }

    [[nodiscard]] int seen() const { return m_seen; }

private:
    std::function<void(Window*)> m_action;
    QTimer m_poll;
    QPointer<Window> m_last;
    int m_seen = 0;
};

struct SeenBox {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    int buttons = 0;
};

// Records every message box that comes up and dismisses it with its OK button.
class BoxWatch final
{
public:
    BoxWatch()
        : m_watch([this](QMessageBox* box) {
            m_boxes.append({box->windowTitle(), box->text(), box->icon(),
                            static_cast<int>(box->buttons().size())});
            box->button(QMessageBox::Ok)->click();
        })
    {
    }

    [[nodiscard]] const QList<SeenBox>& boxes() const { return m_boxes; }

private:
    QList<SeenBox> m_boxes;
    ModalWatch<QMessageBox> m_watch;
};
