#include "cached_panel_style.h"

#include <QPainter>
#include <QStyleOptionFrame>

namespace lumora::qt {

void CachedPanelStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                                     QPainter* painter, const QWidget* widget) const {
    const auto* frame = qstyleoption_cast<const QStyleOptionFrame*>(option);
    if (element != PE_PanelLineEdit || frame == nullptr) {
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        return;
    }
    const qreal ratio = painter->device()->devicePixelRatioF();
    const Key key{frame->rect.size(),        frame->state,     frame->direction,
                  frame->palette.cacheKey(), frame->lineWidth, ratio};
    if (panel_.isNull() || !(key == key_)) {
        panel_ = QPixmap(frame->rect.size() * ratio);
        panel_.setDevicePixelRatio(ratio);
        panel_.fill(Qt::transparent);
        QStyleOptionFrame atOrigin = *frame;
        atOrigin.rect.moveTo(0, 0);
        QPainter onPanel(&panel_);
        QProxyStyle::drawPrimitive(element, &atOrigin, &onPanel, widget);
        key_ = key;
    }
    painter->drawPixmap(frame->rect.topLeft(), panel_);
}

} // namespace lumora::qt
