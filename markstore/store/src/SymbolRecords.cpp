// SPDX-License-Identifier: Apache-2.0
#include <markstore/SymbolRecords.h>

namespace HQ {

CHQGS_SymbolTag::CHQGS_SymbolTag() : ID(0), NodeCount(0), MarkCount(0) {}
CHQGS_SymbolTag::CHQGS_SymbolTag(const CHQGS_SymbolTag& other) = default;
CHQGS_SymbolTag& CHQGS_SymbolTag::operator=(const CHQGS_SymbolTag& other) = default;
CHQGS_SymbolTag::~CHQGS_SymbolTag() = default;

CHQGS_SymbolNode::CHQGS_SymbolNode() : LibID(0), PID(0), ID(0), NodeLevel(0) {}
CHQGS_SymbolNode::CHQGS_SymbolNode(const CHQGS_SymbolNode& other) = default;
CHQGS_SymbolNode& CHQGS_SymbolNode::operator=(const CHQGS_SymbolNode& other) = default;
CHQGS_SymbolNode::~CHQGS_SymbolNode() = default;

}  // namespace HQ
