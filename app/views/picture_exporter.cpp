#include "app/views/picture_exporter.h"

#include "app/export/picture_export.h"

HDC CPictureExporter::Begin(int kind, const RECT& rect) { return BeginPictureExport(kind, rect); }

void CPictureExporter::End(int kind, HDC dc) { EndPictureExport(kind, dc); }
