// The picture on the cover of a paused board: a blue button reading "Click Here to CONTINUE".
#pragma once

#include <QPixmap>

namespace tl {

constexpr int kPausePictureWidth = 240;
constexpr int kPausePictureHeight = 104;

QPixmap DrawPausePicture();

} // namespace tl
