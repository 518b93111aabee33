// The component class registry: registry names (stored in scheme streams and
// in the "class" key of database rows) mapped to creator functions. One
// program-wide instance, filled once at start-up.
#pragma once

class CSCHBlock;

// Allocates one object of its class and runs its constructor; neither
// attaches it to a scheme nor sets its class name.
typedef CSCHBlock* (*SchBlockCreator)();

struct SchClassRow {
  const char* name;         // static text, not owned; blocks point at it
  SchBlockCreator creator;  // null while the class has no creator
};

class SchClassRegistry {
public:
  SchClassRegistry() {}
  ~SchClassRegistry();
  SchClassRegistry(const SchClassRegistry&) = delete;
  SchClassRegistry& operator=(const SchClassRegistry&) = delete;

  // Appends a row; false when the array cannot grow.
  bool Add(const char* name, SchBlockCreator creator);
  // Gives the first row of that name its creator (for classes built in
  // libraries above this one); false when no row has the name.
  bool SetCreator(const char* name, SchBlockCreator creator);
  // The first row whose name equals the argument byte for byte; null when
  // none (and for a null name).
  const SchClassRow* Find(const char* name) const;
  // Empties the registry.
  void Clear();

  int Count() const { return count; }
  const SchClassRow& Row(int i) const { return rows[i]; }

  int count = 0;
  int capacity = 0;  // the row count rounded up to a multiple of 16
  SchClassRow* rows = nullptr;
};

extern SchClassRegistry g_schClassRegistry;

// Number of rows RegisterComponentClasses adds.
const int kSchComponentClassCount = 55;

// Adds the component classes in their fixed registration order. Rows of
// classes that have no creator yet are added with a null creator: creating
// such a class fails like an unknown name.
void RegisterComponentClasses();
