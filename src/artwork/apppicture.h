#pragma once

#include <QString>

class QPainter;

// The drawn pictures that stand in for the icons of well-known source applications.
enum class AppPicture { Gem, Chrome, Finder, Mail, Xcode, Slack, Keyhole, Photoshop, Page };

// The picture for an application name: the first of the name tests that matches.
AppPicture appPictureForName(const QString &appName);

// Paints the picture in the painter's current coordinates, a 32 × 32 canvas with the origin at
// the bottom left.
void paintAppPicture(QPainter &painter, AppPicture picture);
