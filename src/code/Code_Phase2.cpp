#include "code/Code_Phase2.h"

#include <string>

#include "code/Code_Constant.h"
#include "code/Code_Function.h"
#include "code/Code_Main.h"
#include "code/Code_Tree.h"
#include "code/Code_Variable.h"

namespace zorvex {

double NumberValue(std::string_view text) {
  double v = 0, scale = 1;
  bool hex = false, fraction = false;
  for (char ch : text) {
    unsigned char c = static_cast<unsigned char>(ch);
    if (c == '$') {
      hex = true;
    } else if (c == '.') {
      fraction = true;
    } else if (hex) {
      int d;
      if (c >= '0' && c <= '9')
        d = c - '0';
      else if (c >= 'A' && c <= 'F')
        d = 10 + c - 'A';
      else if (c >= 'a' && c <= 'f')
        d = 10 + c - 'a';
      else
        continue;
      v = v * 16 + d;
    } else if (c >= '0' && c <= '9') {
      int d = c - '0';
      if (!fraction) {
        v = v * 10 + d;
      } else {
        scale = scale / 10;
        v = v + d * scale;
      }
    }
  }
  return v;
}

bool Resolve(CLanguage& lang, const CCode& code, const RTokenList1& in, RTokenList2& out) {
  out.clear();
  out.resize(in.size());
  for (size_t i = 0; i < in.size(); ++i) {
    const RToken1& t = in[i];
    RToken2& r = out[i];
    r.kind = t.kind;
    r.position = t.position;
    switch (t.kind) {
      case tk::kIdentifier:
        if (i + 1 < in.size() && in[i + 1].kind == tk::kOpen) {
          if (!FindFunction(lang, t.text, r.ref)) {
            r.kind = tk::kBad;
            RecordError(lang, code, t.position,
                        "Unknown function or script: " + std::string(t.text));
            out.resize(i + 1);
            return false;
          }
          r.kind = tk::kFunction;
        } else if (FindConstant(lang, t.text, r.value)) {
          r.kind = tk::kValue;
        } else {
          r.kind = tk::kVariable;
          r.ref = ResolveVariableName(lang, t.text);
        }
        break;
      case tk::kNumber:
        r.kind = tk::kValue;
        r.value.SetReal(NumberValue(t.text));
        break;
      case tk::kString:
        r.kind = tk::kValue;
        r.value.SetString(t.text);
        break;
      default:
        break;
    }
  }
  return true;
}

}  // namespace zorvex
