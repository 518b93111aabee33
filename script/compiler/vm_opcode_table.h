// The instruction set of the script machine, one line per opcode. This table
// is the only place that lists them: the VmOpcode enum, the disassembler's
// names and the operand layouts are made from it.
//
//   X(number, name, operands, stack effect, meaning)
//
// operands: the layout of the bytes after the opcode (VmOperandLayout):
//   None        no operand
//   Byte        one byte
//   Int         one little-endian int32
//   Constant    a type byte, then by type: 1 one byte, 2 an int32, 3 a double,
//               4 a string; any other type byte has nothing after it
//   NameByte    a string, then a byte
//   Function    a string, a byte count n, n strings, an int32
// (strings are UTF-16LE units up to a zero unit; nothing is aligned).
// stack effect: what the instruction takes (top last) "->" what it leaves.
//
// Stored documents keep byte code: numbers and layouts never change.
#pragma once

#define VM_OPCODE_TABLE(X)                                                                                   \
  X(0, NOP, None, "->", "nothing")                                                                            \
  X(1, PUSH_CONST, Constant, "-> c", "pushes the constant (type byte 0 and unknown types: undefined)")       \
  X(2, VARIABLE, NameByte, "-> ref", "pushes a reference to the named variable; mode 0 must exist, "          \
                                       "1 creates a global, 2 declares a local")                             \
  X(3, INDEX, Byte, "ref i -> ref'", "reference to item i of the referred array; flag 1 grows it")           \
  X(4, FIELD, NameByte, "ref -> ref'", "reference to the named member of the referred value; flag 1 creates") \
  X(5, LOAD, None, "ref -> v", "the referred value, copied")                                                  \
  X(6, STORE, Byte, "ref v -> v (flag 0) | ->", "stores a copy of v; a nonzero flag drops both")              \
  X(7, DUP, None, "v -> v v", "copy of the top")                                                              \
  X(8, POP, None, "v ->", "drops the top")                                                                    \
  X(9, NEW_ARRAY, Int, "x1 .. xn -> array", "array of the n values (one number: that many items)")          \
  X(10, NEW_OBJECT, None, "-> object", "new object without properties")                                       \
  X(11, SWAP, None, "a b -> b a", "exchanges the two top values")                                             \
  X(12, ADD, None, "a b -> c", "sum, or the texts joined")                                                    \
  X(13, SUB, None, "a b -> c", "difference")                                                                  \
  X(14, MUL, None, "a b -> c", "product")                                                                     \
  X(15, DIV, None, "a b -> c", "quotient (a faulting integer division leaves a)")                             \
  X(16, MOD, None, "a b -> c", "integer remainder (a faulting one leaves a)")                                  \
  X(17, SHL, None, "a b -> c", "a shifted left by b & 31")                                                    \
  X(18, SHR, None, "a b -> c", "a shifted right by b & 31, sign kept")                                        \
  X(19, NEG, None, "a -> c", "negation of an integer or number")                                              \
  X(20, EQ, None, "a b -> bool", "equality by the common type")                                               \
  X(21, NE, None, "a b -> bool", "inequality by the common type")                                             \
  X(22, LT, None, "a b -> bool", "a < b")                                                                     \
  X(23, LE, None, "a b -> bool", "a <= b")                                                                    \
  X(24, GT, None, "a b -> bool", "a > b")                                                                     \
  X(25, GE, None, "a b -> bool", "a >= b")                                                                    \
  X(26, JUMP_IF_FALSE, Int, "v ->", "goes to the target when v is false")                                     \
  X(27, JUMP, Int, "->", "goes to the target")                                                                \
  X(28, CALL, Byte, "x1 .. xn f -> result", "calls f with the n values below it")                             \
  X(29, AND, None, "a b -> bool", "both true (both always evaluated)")                                        \
  X(30, OR, None, "a b -> bool", "either true")                                                               \
  X(31, BIT_XOR, None, "a b -> int", "exclusive or of the integers")                                          \
  X(32, NOT, None, "a -> bool", "negated truth")                                                              \
  X(33, BIT_AND, None, "a b -> int", "and of the integers")                                                   \
  X(34, BIT_OR, None, "a b -> int", "or of the integers")                                                     \
  X(35, BIT_NOT, None, "a -> int", "complement of the integer")                                               \
  X(36, RETURN, None, "->", "ends the call (the top is its result) or, at the top level, the program")       \
  X(37, LINE, Int, "->", "sets the source line of error messages")                                            \
  X(38, DELETE, None, "ref -> true", "releases the referred value")                                           \
  X(39, WITH_BEGIN, None, "ref ->", "the referred value joins the with scopes")                               \
  X(40, DEFINE_FUNCTION, Function, "->", "a script function and a global of its name")                        \
  X(41, USHR, None, "a b -> c", "a shifted right by b & 31, zeros in")                                        \
  X(42, STRICT_EQ, None, "a b -> bool", "same tag and equal")                                                 \
  X(43, STRICT_NE, None, "a b -> bool", "different tags or unequal")                                          \
  X(44, INSTANCEOF, Byte, "v -> bool", "whether the tag of v is the type byte")                               \
  X(45, TYPEOF, None, "v -> string", "the type name of v")                                                    \
  X(46, WITH_END, None, "->", "drops the newest with scope")
