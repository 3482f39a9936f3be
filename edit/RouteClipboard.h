#pragma once

#include <vector>

#include <QString>

#include "gps/RichRecords.h"

// Routes on the system clipboard: the private MIME type
// application/x-qt-windows-mime;value="Orvi Routes", which other running instances of the
// program see as well, holds the routes' byte form (EncodeRoutes); a plain text (one line
// per point, RouteClipboardText) goes beside it.

constexpr const char* ROUTE_CLIPBOARD_FORMAT = "Orvi Routes";

QString RouteClipboardMimeType();
// Whether the private format is on the clipboard.
bool ClipboardHasRoutes();
// Puts `routes` on the clipboard in both forms.
void CopyRoutesToClipboard(const std::vector<Route>& routes);
// The routes of the private format, none when it is not there. Throws ArchiveException
// when its bytes are damaged (DecodeRoutes).
std::vector<Route> RoutesFromClipboard();
