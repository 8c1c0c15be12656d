#include "xml/XmlEntities.h"

#include <gtest/gtest.h>

using xml::DecodeXmlEntities;

TEST(XmlUtil, DecodesFiveEntitiesWithAmpersandLast)
{
    EXPECT_EQ(DecodeXmlEntities("a&lt;b&gt;c"), "a<b>c");
    EXPECT_EQ(DecodeXmlEntities("&quot;中&quot; &apos;y&apos; &amp;"), "\"中\" 'y' &");
    EXPECT_EQ(DecodeXmlEntities("&amp;lt;&amp;amp;"), "&lt;&amp;");
    EXPECT_EQ(DecodeXmlEntities("&#60;&#x3C;&nbsp;&lt&LT;"), "&#60;&#x3C;&nbsp;&lt&LT;");
    EXPECT_EQ(DecodeXmlEntities(std::string("lt; <\0\xCB\xB0", 8)), std::string("lt; <\0\xCB\xB0", 8));
}
