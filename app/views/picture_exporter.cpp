#include "app/views/picture_exporter.h"

// The picture export (metafile, bitmap files, clipboard, printer) is not
// part of this library yet: no context is given, so nothing is drawn.
HDC CPictureExporter::Begin(int, const RECT&) { return nullptr; }

void CPictureExporter::End(int, HDC) {}
