#pragma once

#include "SkinControl.h"

#include <QImage>
#include <QPainterPath>
#include <QSize>
#include <QString>
#include <QStringList>

#include <utility>
#include <vector>

namespace vantor::skingen {

// A skinned window under construction: its outline, the surface drawn behind the controls and
// the controls with their places. It renders the pictures the program reads:
//  - the background, in window coordinates;
//  - the state pictures, in which the program cuts a control placed at (x, y) from (x - 1, y - 1),
//    so they are the same scene moved up and left by one pixel;
//  - the mask, black inside the outline and exact white outside, drawn without smoothing.
class SkinWindow {
public:
    using SurfacePainter = std::function<void(QPainter&, const RenderPass&)>;

    SkinWindow(QSize size, qreal cornerRadius);

    QSize Size() const { return m_size; }
    QRect Bounds() const { return {QPoint(0, 0), m_size}; }
    void SetSurface(SurfacePainter surface) { m_surface = std::move(surface); }

    void AddButton(const QString& key, const QRect& rect, ControlPainter paint = {});
    void AddRect(const QString& key, const QRect& rect, ControlPainter paint = {});
    // Extra entries of another section ("BUTTONINFO2" origins, "SCREEN" values), in order.
    void AddEntry(const QString& section, const QString& key, const QString& value);

    const std::vector<SkinControl>& Controls() const { return m_controls; }
    QRect RectOf(const QString& key) const;

    QImage RenderBackground(int variant = 0) const;
    QImage RenderState(const RenderPass& pass) const;
    QImage RenderMask() const;

    // "SCREEN" entries first, then "BUTTONINFO" with one geometry per control, then the rest.
    bool WriteIni(const QString& path) const;

private:
    QImage Render(const RenderPass& pass, QPoint shift) const;

    QSize m_size;
    QPainterPath m_outline;
    SurfacePainter m_surface;
    std::vector<SkinControl> m_controls;
    std::vector<std::pair<QString, std::pair<QString, QString>>> m_entries;
};

// "x,y,w,h" as the skin readers parse it.
QString GeometryValue(const QRect& rect);

}  // namespace vantor::skingen
