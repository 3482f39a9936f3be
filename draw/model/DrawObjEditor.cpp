#include "draw/model/DrawObjEditor.h"

namespace {
DrawObjEditor* installed = nullptr;
}

DrawObjEditor* DrawObjEditor::Installed()
{
    return installed;
}

void DrawObjEditor::Install(DrawObjEditor* editor)
{
    installed = editor;
}
