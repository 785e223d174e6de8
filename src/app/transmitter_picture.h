#pragma once

#include <QImage>

// The picture of the Тарвел-4410 in the about box and on the splash screen: a head-mounted
// transmitter with its cover, cable gland and sensor stem, 150 × 150 pixels, true colour.
QImage TransmitterPicture();
