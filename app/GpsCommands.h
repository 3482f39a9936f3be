#pragma once

#include <functional>

#include "link/LinkTypes.h"

class CGpsConnection;

// Runs `operation` on a connection made for it (sharing the port when a GPS data document
// holds it), through the current task runner: the opening and the operation are one task,
// and Abbrechen reaches both. Returns the operation's result, TransferResult::Cancelled
// when the opening was cancelled, or the runner's TASK_ code.
int WithTemporaryConnection(ProgressCallback progress,
                            const std::function<int(CGpsConnection&)>& operation);
