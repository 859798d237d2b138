#include "emergency/table_hooks.h"

TTableEditorHooks TableEditorHooks;
