// Pictures of component classes, loaded once from the scheme icons folder.
#pragma once

class CKestImage;

// Stores a copy of the folder path (ending with a separator); null clears it.
void SetSchemeIconsFolder(const wchar_t* folder);
const wchar_t* GetSchemeIconsFolder();
// Fills path (260 characters) with the folder followed by the file name;
// false when there is no folder or the result would not fit in 259 characters.
bool MakeSchemeIconPath(wchar_t* path, const wchar_t* fileName);
// Loads the file of that name from the icons folder into the image when the
// image is still empty, so each class picture loads once. Answers whether
// the image holds a picture afterwards.
bool LoadSchemeIcon(CKestImage* image, const wchar_t* fileName);
