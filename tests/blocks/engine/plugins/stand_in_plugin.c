/* A stand-in plug-in block module: exports the entry points a plug-in DLL
   must have. Built twice: whole, and without "LoadBlock". */
#define EXPORT __attribute__((dllexport))
EXPORT int InitPlugin(void) { return 1; }
EXPORT int Init(void) { return 1; }
EXPORT int DestroyBlock(void) { return 0; }
EXPORT int InitBlock(void) { return 0; }
EXPORT int TickBlock(void) { return 0; }
EXPORT int DoneBlock(void) { return 0; }
EXPORT int BlockPropertyDlg(void) { return 0; }
EXPORT int SaveBlock(void) { return 0; }
#ifndef WITHOUT_LOAD_BLOCK
EXPORT int LoadBlock(void) { return 0; }
#endif
