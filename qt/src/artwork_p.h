#pragma once
// Internal: the pictures of the surfaces, read from the artwork files.

#include <QImage>
#include <QPixmap>
#include <string>

namespace morlex::qt::detail {

// The picture of an artwork file, looked up in MORLEX_ARTWORK_DIR, the
// installed data folder and the source tree; the known pictures have a drawn
// stand-in when the file is missing. A null image for an unknown name.
QImage ArtworkPicture(const std::string& name);
// The stand-in alone (for tests and for a broken file).
QImage DrawnPicture(const std::string& name);
// A picture enlarged for a device pixel ratio without smoothing, so that
// small pixel art stays crisp.
QPixmap CrispPixmap(const QImage& image, qreal device_pixel_ratio);

}  // namespace morlex::qt::detail
