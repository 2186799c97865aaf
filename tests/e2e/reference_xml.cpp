#include "tests/e2e/harness.h"

#include <sstream>

namespace e2e {

const char* const kEmptyReference =
    "<?xml version=\"1.0\"?>\n"
    "<trovex_fchba_reference>\n"
    "  <devices/>\n"
    "</trovex_fchba_reference>\n";

namespace {

std::string Escape(const std::string& text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

}  // namespace

std::string ReferenceXml(const std::vector<RefDevice>& devices) {
  std::ostringstream o;
  o << "<?xml version=\"1.0\"?>\n"
    << "<trovex_fchba_reference>\n"
    << "  <discovery_app_path><![CDATA[./]]></discovery_app_path>\n"
    << "  <installer_app_path><![CDATA[./]]></installer_app_path>\n"
    << "  <devices>\n";
  for (const RefDevice& d : devices) {
    auto value = [&](const char* name, const std::string& v) {
      o << "      <" << name << " value=\"" << Escape(v) << "\"/>\n";
    };
    o << "    <device>\n";
    value("type", d.type);
    value("device_id", d.device_id);
    value("model", d.model);
    value("firmware", d.firmware);
    if (d.with_bios) value("bios", d.bios);
    value("boot", d.boot);
    value("duration", d.duration);
    o << "    </device>\n";
  }
  o << "  </devices>\n"
    << "</trovex_fchba_reference>\n";
  return o.str();
}

}  // namespace e2e
