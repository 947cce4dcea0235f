#pragma once

#include <QString>

// What a person sees and hears in a converted file, measured with ffmpeg:
// burned-in text on a dark picture, and the pitch of a tone.
namespace PictureAndSound {

struct Text
{
    int brightPixels = 0; // the text's fill; a dark picture and black bars have none
    bool onlyInLowerThird = true;
};

// The frame shown at a moment, looked at on a 320x240 grid.
Text textAt(const QString &ffmpeg, const QString &path, double seconds);
// The pitch of the sound in Hz, from how often it crosses zero.
int pitch(const QString &ffmpeg, const QString &path);

} // namespace PictureAndSound
