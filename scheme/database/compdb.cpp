#include "scheme/database/compdb.h"

#include "foundation/buffers.h"

namespace {

// Folders

class FolderText {
public:
  ~FolderText() { FreeBuffer(text_); }
  void Set(const wchar_t* path) { ReplaceString(&text_, path); }
  const wchar_t* Get() const { return text_ ? text_ : L""; }

private:
  wchar_t* text_ = nullptr;
};

FolderText& DbFolder() {
  static FolderText folder;
  return folder;
}

FolderText& ImagesFolder() {
  static FolderText folder;
  return folder;
}

}  // namespace

void SetComponentDbFolder(const wchar_t* path) { DbFolder().Set(path); }
const wchar_t* GetComponentDbFolder() { return DbFolder().Get(); }
void SetImagesFolder(const wchar_t* path) { ImagesFolder().Set(path); }
const wchar_t* GetImagesFolder() { return ImagesFolder().Get(); }
