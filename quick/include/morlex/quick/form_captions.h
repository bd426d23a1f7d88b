#pragma once
// The captions of a form's labels for a popup's look: the calendar's days
// and weekday headings, drawn as one image where the labels lie. The image is
// drawn again only when a caption, the font, the colour or the size changes;
// a popup that closes and opens again on the same month shows the image it
// had, where a text item for each label would lay out and draw them anew.
// The labels stay items of their own for the hands and for accessibility;
// only their captions come from here.
//
//   FormCaptions { anchors.fill: parent; parts: popup.parts; font: popup.font
//                  color: popup.palette.text }

#include <QtQml/qqmlregistration.h>
#include <QColor>
#include <QFont>
#include <QImage>
#include <QPointer>
#include <QQuickItem>

#include "morlex/quick/toolkit.h"

namespace morlex::quick {

class FormCaptions : public QQuickItem {
  Q_OBJECT
  QML_ELEMENT
  Q_PROPERTY(morlex::quick::FormParts* parts READ parts WRITE setParts NOTIFY partsChanged)
  Q_PROPERTY(QFont font READ font WRITE setFont NOTIFY fontChanged)
  Q_PROPERTY(QColor color READ color WRITE setColor NOTIFY colorChanged)

 public:
  explicit FormCaptions(QQuickItem* parent = nullptr);

  FormParts* parts() const { return parts_; }
  void setParts(FormParts* parts);
  QFont font() const { return font_; }
  void setFont(const QFont& font);
  QColor color() const { return color_; }
  void setColor(const QColor& color);

 Q_SIGNALS:
  void partsChanged();
  void fontChanged();
  void colorChanged();

 protected:
  QSGNode* updatePaintNode(QSGNode* old, UpdatePaintNodeData* data) override;
  void geometryChange(const QRectF& new_geometry, const QRectF& old_geometry) override;

 private:
  // The captions changed: the next frame draws them again.
  void Redraw();
  QImage Draw(qreal dpr) const;

  QPointer<FormParts> parts_;
  QFont font_;
  QColor color_ = Qt::black;
  QImage image_;  // the captions as last drawn
  bool stale_ = true;
};

}  // namespace morlex::quick
