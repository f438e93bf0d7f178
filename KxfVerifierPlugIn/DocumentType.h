// CT_DocumentType: what the plug-in knows of the host's documents: the type codes of the two
// KXF formats, the settings store of each, and how to ask the host for the type of a document
// or of its active document. The plug-in object and its settings page both go through it.
// Stateless; the calls go to the host on the caller's apartment thread.
#pragma once

#include "MarkpadHost_h.h"

#include <memory>

class CT_TaggerSettings;

class CT_DocumentType
{
public:
    static constexpr long si_FormatF = 6;
    static constexpr long si_FormatI = 7;

    static bool sb_IsKxf(long i_Type) { return i_Type == si_FormatF || i_Type == si_FormatI; }
    // The tagger's settings store of a KXF type's variant (0 for F, 1 for I); null when memory
    // runs out.
    static std::unique_ptr<CT_TaggerSettings> spco_NewSettings(long i_Type);

    // The document's GetDocumentType; the type is 0 unless the host gives one.
    static HRESULT shr_Get(IHostDocument* pco_Document, long* pi_Type);
    // The type of the application's active document: IHostApplication, GetActiveDocument,
    // IHostDocument, GetDocumentType. E_POINTER without an application or an active document.
    static HRESULT shr_GetActive(IDispatch* pco_Application, long* pi_Type);
};
