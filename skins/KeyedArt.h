// Turns pictures drawn with anti-aliasing on a transparent canvas into the opaque, colour-keyed
// pictures skins are made of. Edge pixels never blend with the key colour, so no key-tinted
// fringe shows once the key is cut out.
#pragma once

#include <QImage>
#include <QSize>

class KeyedArt {
public:
    // A transparent canvas to draw on.
    static QImage Canvas(QSize size);

    // Untouched pixels become the key; everything else is laid over the picture underneath
    // (the background where the control will sit), so soft edges blend with what surrounds them.
    static QImage FlattenOnto(const QImage& art, const QImage& under);

    // Hard-edged: pixels less than half covered become the key, the others opaque. For shapes
    // whose surroundings are unknown, such as the window outline against the desktop.
    static QImage SnapToKey(const QImage& art);

    // The reverse, for previews: key pixels become transparent.
    static QImage CutKey(const QImage& picture);

    // A pixel that is meant to show but happens to equal the key would be cut out: nudge it.
    static QRgb AvoidKey(QRgb pixel);
};
