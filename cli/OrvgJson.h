#pragma once

#include <nlohmann/json.hpp>

#include "draw/model/CDrawDoc.h"

class CDrawObj;
class CSummaryInfo;

// The JSON form of a map document: {"format":"orvg","paperColour","pageSize","objects",
// "summary","georeference"}. Positions are as held in memory after loading (lines
// normalized, with "reversed"); colours are COLORREF numbers (0x00BBGGRR); texts are decoded
// from Windows-1252. Stored flags are numbers as the file holds them; "reversed" and
// "showHandles" are booleans. The georeference is null for a map without one, else
// {"kind":"calibration","controlPoints":[{"page":[x,y],"latitude","longitude"} x 3]} or
// {"kind":"pointMap","centralLongitude","eastWestScale","centre":[east,north],
// "unitsPerMetre","pageSize":[width,height]} (degrees, plot metres, page units).
nlohmann::json DrawObjJson(const CDrawObj& object);
nlohmann::json SummaryJson(const CSummaryInfo& summary);
nlohmann::json GeoReferenceJson(const MapGeoReference& geo);
nlohmann::json DrawDocJson(const CDrawDoc& doc);
