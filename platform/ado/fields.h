#pragma once

// ADO's Fields collection of a record set and its Field objects, reached by ordinal only.

#include <cstdint>
#include <utility>

#include "platform/jet/value.h"

namespace norvessa::ado {

class Recordset;

// One field of the current record. It keeps the value it was created with: a record set moved
// on afterwards does not change it.
class Field {
  public:
    // Text, a number or Null (std::monostate); jet::toText gives the text the lookup shows.
    const jet::Value& Value() const { return value_; }

  private:
    friend class Fields;
    explicit Field(jet::Value value) : value_(std::move(value)) {}

    jet::Value value_;
};

class Fields {
  public:
    // The field at the zero-based position `ordinal` of the current record. Throws AdoError
    // when the record set is closed or at its end, or the ordinal is out of range.
    Field Item(std::int16_t ordinal) const;

  private:
    friend class Recordset;
    explicit Fields(const Recordset& recordset) : recordset_(&recordset) {}

    const Recordset* recordset_;
};

}  // namespace norvessa::ado
