#pragma once

// The ticker: a real read-only line edit, whose text is set at every tick and read by screen
// readers, painted from text laid out once. QLineEdit lays out and measures its text again for
// every frame it paints, but the ticker only ever shows a few dozen slices of its message, over
// and over; it keeps each slice laid out and a frame only draws glyphs, exactly where QLineEdit
// puts them. Whenever a frame needs more than the text (a selection, the focus, text wider than
// the box, right-to-left text), QLineEdit paints it.

#include <QLineEdit>
#include <QTextLayout>

#include <unordered_map>

namespace lumora::qt {

class TickerBox final : public QLineEdit {
public:
    using QLineEdit::QLineEdit;

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    struct Slice {
        QTextLayout layout;
        int ascent = 0;
        int width = 0;  // the line's natural width, rounded as QLineEdit rounds it
        int height = 0; // the height QLineEdit centres: the font's, or the text's if taller
    };

    const Slice& laidOut(const QString& text);
    // QLineEdit maps a mouse position to a character by where its own last frame put the text;
    // before it does, it paints one frame of its own, offscreen.
    void placeTextAsLineEdit();

    std::unordered_map<QString, Slice> slices_;
    bool asLineEdit_ = false;
};

} // namespace lumora::qt
