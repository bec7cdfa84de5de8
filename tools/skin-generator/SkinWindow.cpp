#include "SkinWindow.h"

#include "shell/AtomicFile.h"
#include "shell/IniDocument.h"

namespace vantor::skingen {

SkinWindow::SkinWindow(QSize size, qreal cornerRadius) : m_size(size) {
    m_outline.addRoundedRect(QRectF(0, 0, size.width(), size.height()), cornerRadius, cornerRadius);
}

void SkinWindow::AddButton(const QString& key, const QRect& rect, ControlPainter paint) {
    m_controls.push_back({key, rect, ControlKind::Button, std::move(paint)});
}

void SkinWindow::AddRect(const QString& key, const QRect& rect, ControlPainter paint) {
    m_controls.push_back({key, rect, ControlKind::Rect, std::move(paint)});
}

void SkinWindow::AddEntry(const QString& section, const QString& key, const QString& value) {
    m_entries.push_back({section, {key, value}});
}

QRect SkinWindow::RectOf(const QString& key) const {
    for (const SkinControl& c : m_controls)
        if (c.key == key) return c.rect;
    return {};
}

QImage SkinWindow::Render(const RenderPass& pass, QPoint shift) const {
    QImage image(m_size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.translate(shift);
    p.setClipPath(m_outline);
    if (m_surface) m_surface(p, pass);
    for (const SkinControl& c : m_controls) {
        if (!c.paint) continue;
        p.save();
        c.paint(p, QRectF(c.rect), pass);
        p.restore();
    }
    return image;
}

QImage SkinWindow::RenderBackground(int variant) const { return Render({Face::Normal, variant}, {0, 0}); }

QImage SkinWindow::RenderState(const RenderPass& pass) const { return Render(pass, {-1, -1}); }

QImage SkinWindow::RenderMask() const {
    QImage mask(m_size, QImage::Format_RGB32);
    mask.fill(Qt::white);
    QPainter p(&mask);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillPath(m_outline, Qt::black);
    return mask;
}

QString GeometryValue(const QRect& rect) {
    return QStringLiteral("%1,%2,%3,%4").arg(rect.x()).arg(rect.y()).arg(rect.width()).arg(rect.height());
}

bool SkinWindow::WriteIni(const QString& path) const {
    IniDocument ini;
    bool ok = true;
    for (const auto& [section, entry] : m_entries)
        if (section.compare(u"SCREEN", Qt::CaseInsensitive) == 0) ok &= ini.SetValue(section, entry.first, entry.second);
    for (const SkinControl& c : m_controls) ok &= ini.SetValue(QStringLiteral("BUTTONINFO"), c.key, GeometryValue(c.rect));
    for (const auto& [section, entry] : m_entries)
        if (section.compare(u"SCREEN", Qt::CaseInsensitive) != 0) ok &= ini.SetValue(section, entry.first, entry.second);
    return ok && WriteFileAtomically(path, ini.Bytes());
}

}  // namespace vantor::skingen
