#pragma once

class QWidget;

// Shows `window` modally over every other window of the program and returns once it has been
// closed (hidden), after making its owner (Qt parent) the active window again. A window that
// frees itself on close is destroyed afterwards, when the event loop handles the release it
// posted.
void showModal(QWidget& window);
