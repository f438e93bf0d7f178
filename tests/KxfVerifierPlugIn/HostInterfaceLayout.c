/* The plug-in calls the host's interfaces through fixed places of their function tables (counted
 * from QueryInterface at 0). The C form of the shared IDL's header lays the tables out as
 * structures, so the build itself checks that every method stands where the host has it. */
#include "MarkpadHost_h.h"

#include <stddef.h>

#define CT_AT(Vtbl, Method, Place)                                                                 \
    _Static_assert(offsetof(Vtbl, Method) == (Place) * sizeof(void*), #Method " at " #Place)

CT_AT(IHostApplicationVtbl, GetActiveDocument, 13);
CT_AT(IHostDocumentVtbl, GetName, 11);
CT_AT(IHostDocumentVtbl, GetOriginalPath, 14);
CT_AT(IHostDocumentVtbl, SaveTranslatedAs, 20);
CT_AT(IHostDocumentVtbl, GetDocumentType, 23);
CT_AT(IVerifierMessagesVtbl, Add, 10);
CT_AT(IVerifierMessagesVtbl, AddMessages, 14);
CT_AT(IHostVerifierVtbl, CanVerify, 3);
CT_AT(IHostVerifierVtbl, Verify, 4);
CT_AT(IHostPlugInVtbl, Connect, 3);
CT_AT(IHostPlugInVtbl, Disconnect, 4);
