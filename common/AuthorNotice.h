#pragma once
// The author notice that every built file carries: at the end of each
// plug-in's string 0 and in every version resource. Macros, so that the
// resource compiler reads them too.
#define KVP_AUTHORS "the kvp-plugins authors"
#define KVP_COPYRIGHT "(C) 2026 " KVP_AUTHORS
