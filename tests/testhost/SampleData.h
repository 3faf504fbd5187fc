// A small but complete data set for the test host: one service, two locations, three
// families with children, invoices, history, pending attendances and their charges.
#pragma once

#include "host/testhost/TestHost.h"

namespace TDInvoice::Testing {

inline void seedSampleData(Host::TestHost &host) {
  host.execute(QStringLiteral(R"sql(
INSERT INTO [User Details] VALUES ('Little Gumnuts Child Care', '12 Banksia St, Ashfield',
  '02 9555 0101', '12345678901', '123456', '062-000', '10203040', 1, 5, 3, 0,
  'office@gumnuts.example');
INSERT INTO Funding VALUES (1, 4, 'CA-100-LDC'), (2, 1, 'CA-200-ASC'), (2, 2, NULL);
INSERT INTO SessionTypes VALUES (1, 'FD'), (2, 'HD'), (3, 'ASC');
INSERT INTO ChargeTypes VALUES (1, 'Standard fee'), (2, 'Late pick-up fee charged per minute');
INSERT INTO Parents VALUES
  (10, 'Nguyen', 'Mr & Mrs Nguyen', '0000101', '1 Rose St', 'Ashfield NSW 2131', 100, 1, 0),
  (11, 'O''Brien', NULL, NULL, '2 Lily Ave', NULL, NULL, 0, 1),
  (12, 'Müller', '', '0000120', NULL, NULL, 0, 'false', 'true');
INSERT INTO Child VALUES (100, 10, 'Anh', 'Nguyen', 'K'), (101, 10, 'Binh', 'Nguyen', NULL),
  (110, 11, 'Ciara', 'O''Brien', NULL);
INSERT INTO Invoices VALUES
  (5001, '2009-01-05 09:30:00', 1234.5678, 39816, 10),
  (5002, 39818.75, -15, 39816, 11),
  (5003, '2009-01-12', 0.0001, 39823, 12);
INSERT INTO InvoiceDebitDates VALUES (39816, '2009-01-14'), (39823, 39830);
INSERT INTO InvoiceNotes VALUES (10, 'Please note: fees rise in February.');
INSERT INTO UnresolvedAttendances VALUES (7001, 5001), (7002, 5001), (7003, 5002);
INSERT INTO BookingCharges VALUES (7001, 100, 1, '2009-01-06'), (7002, 101, 2, '2009-01-10'),
  (7003, 110, 3, '2009-01-07');
INSERT INTO Charges VALUES (7001, 100, 1, '2009-01-06', 1, 65.5),
  (7001, 100, 1, '2009-01-06', 2, '3.3333'), (7002, 101, 2, '2009-01-10', 1, 40),
  (7003, 110, 3, '2009-01-07', 1, 22.05);
INSERT INTO AbsencesUsed VALUES (5001, 100, 3), (5001, 101, 0);
INSERT INTO HostLocations VALUES (1, 1, 'Ashfld', 4), (2, 2, 'Summer', 1);
INSERT INTO HostInvoiceMessages VALUES (39816, '{\rtf1 Happy New Year}'), (39823, '');
INSERT INTO HostFundingKeys VALUES (5001, 1, 1, 4), (5001, 2, 2, 1), (5003, 1, 2, 2);
INSERT INTO HostHistory (InvoiceNo, Position, Kind, Stamp, EntryAmount, WeekEndDate)
  VALUES (5001, 1, 1, 284040000, 100.25, 39809);
INSERT INTO HostHistory (InvoiceNo, Position, Kind, Stamp, EntryAmount, WeekEndDate,
  ChildOrMethod, CareType, Sessions, CCBRate, CCBPercent, CCBAltPercent, CCBHours, FeeAmount,
  ChargedHours, CCBAmount, JFAAmount, CCRAmount, AbsencesPaid, CCBEntry, CareTypeAbbrev,
  EnrolmentId)
  VALUES (5001, 2, 2, 284050000, 310.0, 39816, 100, 4, 5, 3.35, 85.5, 100, 50, 350.0, 52.5,
  142.5, 0, 12.3456, 1, 1, 'LDC', 'E1234567');
INSERT INTO HostHistory (InvoiceNo, Position, Kind, Stamp, EntryAmount, EntryText)
  VALUES (5001, 3, 4, 284060000, 0, 'Adjustment agreed with the director');
)sql"));
}

} // namespace TDInvoice::Testing
