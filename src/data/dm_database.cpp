#include "data/dm_database.h"

#include "foundation/text.h"

DMDatabase::DMDatabase(const char* name) : m_name(name), m_nameHash(HVI_HashName(name)) {}
