#pragma once

class CDrawDoc;
class QWidget;

// The document properties of a map: runs the sheet "Document Properties" with the pages
// "Summary" (CSummPage) and "Statistics" (CStatPage), modal over `parent`. On OK the
// author, keywords, comments, title, subject and template are written back to the
// summary, and the document is marked modified, when at least one of them changed; the
// application name and the statistics are display only. Returns true when the sheet ended
// with OK. Cancel changes nothing; a document without summary shows nothing. Both give
// false.
bool EditSummaryInfo(CDrawDoc& doc, QWidget* parent);
