/* The contract between the fuzzy-logic block and the module "fuzzydll.dll"
   in the program folder, which holds the models, their editor and their
   inference. Both sides include this header (it is plain C).

   Every entry point uses the cdecl calling convention: the caller removes
   the arguments. A model is named by an opaque 32-bit handle the module
   makes (0 = no model). Names are zero-terminated 8-bit texts in code page
   1251 that the caller copies at once. FuzzySave with a null buffer answers
   the size of the model's saved form; with a buffer of that size it writes
   the form into it; FuzzyLoad accepts that form. */
#ifndef VELK_FUZZY_API_H
#define VELK_FUZZY_API_H

#ifdef __cplusplus
extern "C" {
#endif

typedef unsigned int BeFuzzyHandle;

typedef BeFuzzyHandle(__cdecl* BeFuzzyCreateFn)(void);
typedef void(__cdecl* BeFuzzyDestroyFn)(BeFuzzyHandle model);
typedef void(__cdecl* BeFuzzyExecuteFn)(BeFuzzyHandle model);
typedef int(__cdecl* BeFuzzyGetCountFn)(BeFuzzyHandle model);
typedef const char*(__cdecl* BeFuzzyGetNameFn)(BeFuzzyHandle model, int index);
typedef void(__cdecl* BeFuzzySetInputFn)(BeFuzzyHandle model, int index, float value);
typedef double(__cdecl* BeFuzzyGetOutputFn)(BeFuzzyHandle model, int index);
typedef void(__cdecl* BeFuzzyOpenEditorFn)(BeFuzzyHandle model, const char* title, int flag);
typedef unsigned char(__cdecl* BeFuzzyIsEditorFn)(BeFuzzyHandle model);
typedef int(__cdecl* BeFuzzySaveFn)(BeFuzzyHandle model, void* buffer);
typedef void(__cdecl* BeFuzzyLoadFn)(BeFuzzyHandle model, const void* buffer, int size);

#ifdef __cplusplus
}
#endif

#endif
