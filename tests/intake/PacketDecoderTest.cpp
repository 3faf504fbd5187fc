#include "intake/PacketDecoder.h"

#include "TDInvoice/ShortStringList.h"
#include "host/testhost/PacketEncoder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace TDInvoice;

namespace {

TEST(PacketDecoder, JoinsLinesExactlyAsTheListsText) {
  const std::vector<std::vector<std::string>> lists = {
      {},
      {"abc"},
      {"", "", ""},
      {std::string(255, 'Q'), "tail"},
      {std::string("before\0after", 12), "next"},
      {"a=1", "b=2=3"},
  };
  for (const auto &items : lists) {
    for (const bool nameValue : {false, true}) {
      if (nameValue && (items.empty() || items.front().find('=') == std::string::npos))
        continue;
      TShortStringList packet(nameValue);
      for (const std::string &item : items)
        packet.Add(item);
      const QByteArray joined = Intake::packetText(packet);
      EXPECT_EQ(joined.toStdString(), packet.Text()) << items.size() << " items";
    }
  }
}

TEST(PacketDecoder, DecodesAPacketSplitAnyWay) {
  QByteArray persisted;
  for (int i = 0; i < 5000; ++i)
    persisted += QByteArray::number(i * 7919) + ";";
  for (int length : {1, 3, 76, 77, 255}) {
    std::unique_ptr<TShortStringList> packet(Host::makePacket(persisted, length));
    EXPECT_EQ(Intake::decodePacket(*packet), persisted) << length;
  }
  TShortStringList empty;
  EXPECT_TRUE(Intake::decodePacket(empty).isEmpty());
}

} // namespace
