#pragma once

// The style of the ticker: the application's own, except that a line edit's panel (its frame
// and background) is drawn once and then copied. The ticker repaints five times a second, and
// Fusion's rounded, antialiased frame costs more than the text in it; the panel is drawn anew
// only when its size, state, colours or pixel ratio change, so it looks exactly as before.

#include <QPixmap>
#include <QProxyStyle>

namespace lumora::qt {

class CachedPanelStyle final : public QProxyStyle {
public:
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget = nullptr) const override;

private:
    struct Key {
        QSize size;
        QStyle::State state;
        Qt::LayoutDirection direction = Qt::LeftToRight;
        qint64 palette = 0;
        int lineWidth = 0;
        qreal ratio = 0;
        bool operator==(const Key&) const = default;
    };
    mutable Key key_;
    mutable QPixmap panel_;
};

} // namespace lumora::qt
