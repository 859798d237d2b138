#pragma once
// Plays Windows metafiles (WMF and EMF) on a QPainter: the pictures report
// templates hold, drawn on the page, the preview, printers, PDF and in the
// designer's dialogs. Written from the public description of the two record
// formats; it covers what drawing programs and chart exports write (pens,
// brushes, fonts, lines, shapes, arcs, text, paths, device-independent
// bitmaps, clipping) and skips other records by their size.
#include <QtCore/QByteArray>
#include <QtCore/QRectF>
#include <QtCore/QSize>
#include <QtGui/QImage>

class QPainter;

// Draws the metafile with its frame (see ReadMetafileFrame) on target, in
// the painter's coordinates and inside its clip; nothing falls outside
// target. The painter's state is left as it was. False when the bytes are
// no metafile or the stream is damaged: what was read before the damage is
// drawn, nothing is read past the bytes.
bool PlayMetafile(QPainter &painter, const QByteArray &bytes, const QRectF &target);

// The metafile drawn on a transparent image of the size given; a null
// image when the bytes are no metafile or the size is empty.
QImage MetafileImage(const QByteArray &bytes, const QSize &size);
