#pragma once

#include <nlohmann/json.hpp>

#include "draw/model/CDrawDoc.h"

class CDrawObj;
class CSummaryInfo;

// The JSON form of a map document: {"format":"orvg","paperColour","pageSize","objects",
// "summary"}. Positions are as held in memory after loading (lines normalized, with
// "reversed"); colours are COLORREF numbers (0x00BBGGRR); texts are decoded from
// Windows-1252. Stored flags are numbers as the file holds them; "reversed" and
// "showHandles" are booleans.
nlohmann::json DrawObjJson(const CDrawObj& object);
nlohmann::json SummaryJson(const CSummaryInfo& summary);
nlohmann::json DrawDocJson(const CDrawDoc& doc);
